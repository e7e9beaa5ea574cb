#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QWidget>

#include <memory>

class QMovie;

// An animated GIF picture control: the picture comes from the program's resources or from
// memory, its frames play with their own delays and are composed over a background colour.
class CPictureEx : public QWidget
{
    Q_OBJECT

public:
    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    // Reads a GIF picture from a resource (":/gif/49302/hover") or a file; false, with a log
    // line, when it is not a picture.
    bool Load(const QString& path);
    // The same from the bytes of a GIF file.
    bool Load(const QByteArray& data);
    void UnLoad();
    bool IsLoaded() const { return m_movie != nullptr; }

    void SetBkColor(const QColor& colour);
    QColor GetBkColor() const { return m_background; }

    // Starts playing from the first frame; false when nothing is loaded.
    bool Draw();
    void Stop();
    bool IsPlaying() const;

    QSize GetSize() const { return m_size; }
    int FrameCount() const;
    // The frame shown now, over the background colour; an empty picture shows the colour.
    QImage CurrentFrame() const;

    QSize sizeHint() const override;

signals:
    // A new frame is showing.
    void FrameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool Open(const QString& what);

    QByteArray m_data;
    QBuffer m_buffer;
    std::unique_ptr<QMovie> m_movie;
    QColor m_background = Qt::white;
    QSize m_size;
};
