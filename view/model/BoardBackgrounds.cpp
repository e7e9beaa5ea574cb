#include "view/model/BoardBackgrounds.h"

#include "view/model/GP_SettingsStore.h"
#include "shell/log/GP_LogFile.h"

#include <array>

namespace {

constexpr int kMidGrey = 128;
constexpr int kWhite = 255;

using ChannelTable = std::array<uchar, kWhite + 1>;

ChannelTable TintTable(int channel)
{
    ChannelTable table{};
    for (int grey = 0; grey <= kWhite; ++grey)
        table[size_t(grey)] = uchar(CBoardBackgrounds::Tint(channel, grey));
    return table;
}

} // namespace

int CBoardBackgrounds::Tint(int channel, int grey)
{
    if (grey < kMidGrey)
        return (channel * grey + kMidGrey / 2) / kMidGrey;
    const int span = kWhite - kMidGrey;
    return channel + ((kWhite - channel) * (grey - kMidGrey) + span / 2) / span;
}

QColor CBoardBackgrounds::ColorOf(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

QImage CBoardBackgrounds::Build(quint32 colorRef, const QImage& texture)
{
    const QColor color = ColorOf(colorRef);
    if (texture.isNull()) {
        QImage plain(kPlainTileSize, kPlainTileSize, QImage::Format_ARGB32_Premultiplied);
        plain.fill(color);
        return plain;
    }
    const ChannelTable red = TintTable(color.red());
    const ChannelTable green = TintTable(color.green());
    const ChannelTable blue = TintTable(color.blue());
    const QImage source = texture.convertToFormat(QImage::Format_RGB32);
    QImage tile(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const size_t grey = size_t(qGray(in[x]));
            out[x] = qRgb(red[grey], green[grey], blue[grey]);
        }
    }
    return tile;
}

QImage CBoardBackgrounds::TextureAt(const QList<QImage>& textures, quint32 pattern)
{
    if (pattern < quint32(textures.size()))
        return textures.at(qsizetype(pattern));
    GP_Log(QStringLiteral("CBoardBackgrounds: no texture %1 among %2, plain colour used\n")
               .arg(pattern)
               .arg(textures.size()));
    return QImage();
}

void CBoardBackgrounds::Rebuild(const CGP_SettingsStore& settings, const QList<QImage>& textures)
{
    Rebuild(settings.CurrentColor(GP_Table::Board), TextureAt(textures, settings.CurrentTexture(GP_Table::Board)),
            settings.CurrentColor(GP_Table::Trays), TextureAt(textures, settings.CurrentTexture(GP_Table::Trays)));
}

void CBoardBackgrounds::Rebuild(quint32 boardColor, const QImage& boardTexture, quint32 trayColor,
                                const QImage& trayTexture)
{
    m_board = Build(boardColor, boardTexture);
    m_trays = Build(trayColor, trayTexture);
}
