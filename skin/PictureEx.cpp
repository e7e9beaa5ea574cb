#include "skin/PictureEx.h"

#include "shell/log/GP_LogFile.h"

#include <QFile>
#include <QMovie>
#include <QPainter>

namespace {
// More than any picture of the game: a larger file is not a picture it ships.
constexpr qint64 kMaxPictureBytes = 32 * 1024 * 1024;
} // namespace

CPictureEx::CPictureEx(QWidget* parent)
    : QWidget(parent)
{
}

CPictureEx::~CPictureEx()
{
    UnLoad();
}

bool CPictureEx::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("CPictureEx::Load: cannot open \"%1\": %2\n").arg(path, file.errorString()));
        UnLoad();
        return false;
    }
    if (file.size() > kMaxPictureBytes) {
        GP_Log(QStringLiteral("CPictureEx::Load: \"%1\" is larger than %2 bytes\n").arg(path).arg(kMaxPictureBytes));
        UnLoad();
        return false;
    }
    m_data = file.readAll();
    return Open(QStringLiteral("\"%1\"").arg(path));
}

bool CPictureEx::Load(const QByteArray& data)
{
    m_data = data;
    return Open(QStringLiteral("a picture in memory"));
}

bool CPictureEx::Open(const QString& what)
{
    const QByteArray data = m_data;
    UnLoad();
    m_data = data;
    m_buffer.setBuffer(&m_data);
    m_buffer.open(QIODevice::ReadOnly);
    auto movie = std::make_unique<QMovie>(&m_buffer, QByteArray("gif"));
    if (!movie->isValid() || !movie->jumpToFrame(0) || movie->currentImage().isNull()) {
        GP_Log(QStringLiteral("CPictureEx::Load: %1 is not a GIF picture\n").arg(what));
        movie.reset();
        m_buffer.close();
        m_data.clear();
        update();
        return false;
    }
    m_size = movie->currentImage().size();
    connect(movie.get(), &QMovie::frameChanged, this, [this] {
        update();
        emit FrameChanged();
    });
    m_movie = std::move(movie);
    updateGeometry();
    update();
    return true;
}

void CPictureEx::UnLoad()
{
    if (m_movie) {
        m_movie->stop();
        m_movie.reset();
    }
    if (m_buffer.isOpen())
        m_buffer.close();
    m_data.clear();
    m_size = QSize();
}

void CPictureEx::SetBkColor(const QColor& colour)
{
    m_background = colour;
    update();
}

bool CPictureEx::Draw()
{
    if (!m_movie)
        return false;
    m_movie->stop();
    m_movie->jumpToFrame(0);
    // A single frame needs no player.
    if (m_movie->frameCount() != 1)
        m_movie->start();
    update();
    return true;
}

void CPictureEx::Stop()
{
    if (m_movie)
        m_movie->stop();
}

bool CPictureEx::IsPlaying() const
{
    return m_movie && m_movie->state() == QMovie::Running;
}

int CPictureEx::FrameCount() const
{
    return m_movie ? m_movie->frameCount() : 0;
}

QImage CPictureEx::CurrentFrame() const
{
    const QSize size = m_size.isValid() ? m_size : QSize(1, 1);
    QImage frame(size, QImage::Format_ARGB32_Premultiplied);
    frame.fill(m_background);
    if (m_movie) {
        QPainter painter(&frame);
        painter.drawImage(0, 0, m_movie->currentImage());
    }
    return frame;
}

QSize CPictureEx::sizeHint() const
{
    return m_size.isValid() ? m_size : QSize(16, 16);
}

void CPictureEx::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (m_movie)
        painter.drawImage(0, 0, m_movie->currentImage());
}
