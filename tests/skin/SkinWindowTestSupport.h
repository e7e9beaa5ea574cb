#pragma once

#include "skin/Skin.h"
#include "tests/support/TestFolder.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <memory>

// Solid colours the test skins paint with, one picture file each.
namespace SkinColours {
inline const QColor Face{128, 128, 128};
inline const QColor Pushed{220, 0, 0};
inline const QColor Focused{0, 200, 0};
inline const QColor Checked{0, 0, 230};
inline const QColor Client{255, 255, 255};
} // namespace SkinColours

// A skin for window tests, read from text and made current while it lives; its pictures are
// solid colours written into a private folder ("face.png", "pushed.png", ...).
class CurrentTestSkin
{
public:
    explicit CurrentTestSkin(const QByteArray& items)
    {
        WritePicture("face.png", SkinColours::Face);
        WritePicture("pushed.png", SkinColours::Pushed);
        WritePicture("focused.png", SkinColours::Focused);
        WritePicture("checked.png", SkinColours::Checked);
        WritePicture("client.png", SkinColours::Client);
        WINSKIN::Skin::SetCurrent(&m_skin);
        Load(items);
    }
    ~CurrentTestSkin() { WINSKIN::Skin::SetCurrent(nullptr); }

    // Reads new items into the same skin, as a skin change in the game does.
    void Load(const QByteArray& items) { m_skin.LoadText("<Skin>" + items + "</Skin>", m_folder.Path()); }

    WINSKIN::Skin& Get() { return m_skin; }

private:
    void WritePicture(const char* name, const QColor& colour)
    {
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(colour);
        image.save(m_folder.File(QString::fromLatin1(name)), "PNG");
    }

    TestFolder m_folder;
    WINSKIN::Skin m_skin;
};

// A Bitmap of one of the test pictures stretched over a rectangle (whole owner by default).
inline QByteArray Fill(const char* picture, const char* attributes = "", const char* corners = "X2=\"0,rb\" Y2=\"0,rb\"")
{
    return QByteArray("<Bitmap Src=\"") + picture + "\" HPosition=\"Stretched\" VPosition=\"Stretched\" Attributes=\""
        + attributes + "\" " + corners + "/>";
}

// The widget as it shows on screen, drawn through its shape.
inline QImage Rendered(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), widget.mask().isEmpty() ? QRegion(widget.rect()) : widget.mask());
    return image;
}

inline bool SameColour(QRgb pixel, const QColor& colour)
{
    return qAlpha(pixel) == 255 && QColor(pixel).rgb() == colour.rgb();
}

// Mouse events sent straight to a widget, at a point of the widget.
inline void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButtons held)
{
    const QPointF global = widget->mapToGlobal(QPointF(pos));
    QMouseEvent event(type, QPointF(pos), global, Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
inline void Press(QWidget* widget, const QPoint& pos) { SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton); }
inline void MoveTo(QWidget* widget, const QPoint& pos) { SendMouse(widget, QEvent::MouseMove, pos, Qt::LeftButton); }
inline void Release(QWidget* widget, const QPoint& pos) { SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton); }
