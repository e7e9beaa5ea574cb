#include "skin/Font.h"

#include "shell/log/GP_LogFile.h"

#include <QFontDatabase>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

namespace WINSKIN {

namespace {
constexpr int kDefaultPoints = 8;
// A bigger size only wastes memory on giant glyphs.
constexpr int kMaxPoints = 500;
constexpr int kScreenDpiFallback = 96;

struct StockFont
{
    const char* name;
    QFontDatabase::SystemFont font;
};

constexpr StockFont kStockFonts[] = {
    {"ANSI_FIXED_FONT", QFontDatabase::FixedFont},   {"ANSI_VAR_FONT", QFontDatabase::GeneralFont},
    {"DEVICE_DEFAULT_FONT", QFontDatabase::GeneralFont}, {"DEFAULT_GUI_FONT", QFontDatabase::GeneralFont},
    {"OEM_FIXED_FONT", QFontDatabase::FixedFont},    {"SYSTEM_FONT", QFontDatabase::GeneralFont},
    {"SYSTEM_FIXED_FONT", QFontDatabase::FixedFont},
};

int ScreenDpiY()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return kScreenDpiFallback;
    return std::max(1, qRound(screen->logicalDotsPerInchY()));
}
} // namespace

Font::Font(Skin* skin)
    : Rectangle(skin)
{
}

Font::~Font()
{
    RemoveFontFile();
}

int Font::PixelHeight(int points, int dotsPerInch)
{
    const double exact = double(points) * dotsPerInch / 72.0;
    return static_cast<int>(std::lround(exact));
}

void Font::RemoveFontFile()
{
    if (m_fontFileId >= 0)
        QFontDatabase::removeApplicationFont(m_fontFileId);
    m_fontFileId = -1;
}

void Font::Read(const TiXmlElement& element)
{
    RemoveFontFile();
    m_created.reset();
    m_stock.reset();
    ReadCommon(element);

    const QByteArray stockName = Attribute(element, "StockObject").trimmed();
    for (const StockFont& stock : kStockFonts) {
        if (stockName == stock.name)
            m_stock = QFontDatabase::systemFont(stock.font);
    }
    const QByteArray src = Attribute(element, "Src");
    if (!src.isNull()) {
        const QString path = SourcePath(src);
        m_fontFileId = IsPlainFile(path, "font file") ? QFontDatabase::addApplicationFont(path) : -1;
        if (m_fontFileId < 0 && QFileInfo(path).isFile())
            GP_Log(QStringLiteral("WINSKIN::Font: cannot add the font file \"%1\"\n").arg(path));
    }
    if (!m_stock) {
        QFont font;
        const QByteArray face = Attribute(element, "Face");
        if (!face.isEmpty())
            font.setFamilies({QString::fromUtf8(face)});
        const QByteArray size = Attribute(element, "Size");
        const int points = std::clamp(size.isNull() ? kDefaultPoints : ReadDecimal(size), -kMaxPoints, kMaxPoints);
        // Windows takes a negative height as the character height and a positive one as the
        // cell height; both come out as a pixel size here, and 0 keeps the default.
        const int pixels = std::abs(PixelHeight(points, ScreenDpiY()));
        if (pixels > 0)
            font.setPixelSize(pixels);
        const int style = ReadDecimal(Attribute(element, "Style"));
        font.setWeight((style & Bold) ? QFont::Bold : QFont::Normal);
        font.setItalic(style & Italic);
        font.setUnderline(style & Underline);
        font.setStrikeOut(style & StrikeOut);
        m_created = font;
    }
    m_inUse = m_created ? m_created : m_stock;
    m_letterSize = m_inUse ? QFontMetrics(*m_inUse).size(Qt::TextSingleLine, QStringLiteral("A")) : QSize();
    ReadChildren(element);
}

void Font::Select(QPainter& dc)
{
    if (!m_inUse)
        return;
    m_replaced.push_back(dc.font());
    dc.setFont(*m_inUse);
}

void Font::Deselect(QPainter& dc)
{
    if (m_replaced.empty())
        return;
    dc.setFont(m_replaced.back());
    m_replaced.pop_back();
}

} // namespace WINSKIN
