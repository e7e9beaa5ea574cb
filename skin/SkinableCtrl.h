#pragma once

#include "skin/Object.h"
#include "skin/SkinableBase.h"

#include <QAbstractButton>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <type_traits>

namespace WINSKIN {

// A Qt control class that wears the skin. Without an Object every event takes the control's own
// path; with one, the skin draws the control, gives it its shape and answers where the mouse
// is (caption, edges), while keys, focus and clicks keep working as the control's own.
template <typename T>
class SkinableCtrl : public T, public SkinableBase
{
public:
    SkinableCtrl(const QString& name, QWidget* parent, int controlId = 0)
        : T(parent)
        , SkinableBase(name, this)
    {
        SetControlId(this, controlId);
    }

    bool CallDefault(QEvent* event) override { return T::event(event); }

    // The text the skin draws for the window, cut to kMaxWindowText.
    QString WindowText() const
    {
        QString text;
        if constexpr (std::is_base_of_v<QAbstractButton, T> || std::is_base_of_v<QLabel, T>)
            text = T::text();
        else if constexpr (std::is_base_of_v<QLineEdit, T>)
            text = T::displayText();
        else
            text = T::windowTitle();
        return text.left(kMaxWindowText);
    }

protected:
    bool event(QEvent* event) override
    {
        TrackMouse(event);
        // Controls take their skin before they are first shown; windows take it in setVisible.
        if (event->type() == QEvent::Polish && !m_attached && !T::isWindow()) {
            const bool answer = T::event(event);
            Attach();
            return answer;
        }
        if (!GetObject())
            return T::event(event);
        return SkinEvent(event);
    }

    void setVisible(bool visible) override
    {
        if (visible && !m_attached && T::isWindow())
            Attach();
        T::setVisible(visible);
    }

    CGP_StringSet BuildStates() const override
    {
        CGP_StringSet states = SkinableBase::BuildStates();
        if constexpr (std::is_base_of_v<QAbstractButton, T>) {
            SetWord(states, QStringLiteral("Checked"), T::isChecked());
            SetWord(states, QStringLiteral("Pushed"), T::isDown());
        }
        if constexpr (std::is_base_of_v<QSlider, T>) {
            if (T::isSliderDown())
                states.Add(QStringLiteral("Pushed"));
        }
        return states;
    }

    // Draws the Object over a rectangle of the window, with the parts a progress bar and a
    // slider add.
    virtual void PaintRoutine(QPainter& dc, const QRect& rect, CGP_StringSet states, const QString& text)
    {
        Object* object = GetObject();
        object->Draw(dc, rect, states, text);
        if constexpr (std::is_base_of_v<QProgressBar, T>) {
            if (Name() == QLatin1String("ProgressBar"))
                DrawMeter(dc, *object, rect, states, text);
        }
        if constexpr (std::is_base_of_v<QSlider, T>) {
            if (Name() == QLatin1String("TrackBar"))
                DrawThumb(dc, *object, states, text);
        }
    }

    // Paints what lies under a client area the control draws itself (an edit's background).
    virtual void FillOwnClient(QPainter& dc, const QRect& client) {}

private:
    static void SetWord(CGP_StringSet& states, const QString& word, bool on)
    {
        if (on)
            states.Add(word);
        else
            states.Remove(word);
    }

    static CGP_StringSet Words(const char* word)
    {
        CGP_StringSet words;
        words.Add(QString::fromLatin1(word));
        return words;
    }

    void TrackMouse(QEvent* event)
    {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            EndSystemMove();
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                SetMouseHeld(true);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            EndSystemMove();
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                SetMouseHeld(false);
        } else if (event->type() == QEvent::Enter) {
            SetHovered(true);
        } else if (event->type() == QEvent::Leave || event->type() == QEvent::Hide) {
            // A hidden control may be shown again somewhere the pointer is not.
            SetHovered(false);
            if (event->type() == QEvent::Hide)
                SetMouseHeld(false);
        }
    }

    bool SkinEvent(QEvent* event)
    {
        switch (event->type()) {
        case QEvent::Paint:
            PaintSkinned(static_cast<QPaintEvent*>(event));
            return true;
        case QEvent::Resize: {
            const bool answer = T::event(event);
            OnSized();
            return answer;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return OnPress(static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            if (IsDragging()) {
                DragTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                return true;
            }
            return DefaultAndRepaint(event);
        case QEvent::MouseButtonRelease:
            if (IsDragging()) {
                EndDrag();
                return true;
            }
            return DefaultAndRepaint(event);
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::EnabledChange:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::Wheel: {
            const bool answer = DefaultAndRepaint(event);
            RefreshObject();
            return answer;
        }
        default:
            return T::event(event);
        }
    }

    bool DefaultAndRepaint(QEvent* event)
    {
        const bool answer = T::event(event);
        T::update();
        return answer;
    }

    bool OnPress(QMouseEvent* event)
    {
        if (event->button() != Qt::LeftButton)
            return DefaultAndRepaint(event);
        const int hit = HitTest(event->position().toPoint());
        if (BeginDrag(hit, event->globalPosition().toPoint())) {
            SetMouseHeld(false);
            return true;
        }
        if (hit == HTCLIENT)
            return DefaultAndRepaint(event);
        SetMouseHeld(false);
        // Transparent parts let the press through to the window underneath; other parts of
        // the frame take it and do nothing.
        if (hit < 0) {
            event->ignore();
            return false;
        }
        return true;
    }

    void PaintSkinned(QPaintEvent* event)
    {
        if (!IsRedrawOn())
            return;
        Object* object = GetObject();
        const QRect whole = T::rect();
        const QString text = WindowText();
        const CGP_StringSet states = BuildStates();
        const QString activation = T::isActiveWindow() ? QStringLiteral("Active") : QStringLiteral("Inactive");
        Rectangle* clientItem = object->FindMatch(Words("Client"));
        // A client area without pictures of its own is the control's to paint (an edit field).
        const bool ownClient = clientItem && clientItem->GetChildCount() == 0 && !clientItem->AsBitmap();

        // Drawn at the screen's density, so that the skin's double-size pictures stay sharp.
        const qreal ratio = T::devicePixelRatioF();
        QImage image((QSizeF(whole.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            QPainter dc(&image);
            CGP_StringSet frame = states;
            frame.Add(QStringLiteral("NonClient"));
            frame.Add(activation);
            if (!clientItem) {
                // Frame and client are one surface: one pass draws both.
                frame.Add(QStringLiteral("Client"));
                PaintRoutine(dc, whole, frame, text);
            } else {
                PaintRoutine(dc, whole, frame, text);
                const QRect client = clientItem->Resolve(whole);
                if (ownClient) {
                    FillOwnClient(dc, client);
                } else {
                    CGP_StringSet inside = states;
                    inside.Add(QStringLiteral("Client"));
                    PaintClient(dc, image, client, inside, text);
                }
            }
        }
        {
            QPainter window(this);
            window.drawImage(0, 0, image);
        }
        if (ownClient)
            T::event(event);
    }

    // The client area's pass, kept inside the window's shape: a square client picture never
    // shows past the frame's rounded corners. (The items clip themselves, so the shape is
    // applied to their layer as a whole.)
    void PaintClient(QPainter& dc, const QImage& frame, const QRect& client, const CGP_StringSet& states, const QString& text)
    {
        if (Shape().isEmpty()) {
            PaintRoutine(dc, client, states, text);
            return;
        }
        QImage layer(frame.size(), QImage::Format_ARGB32_Premultiplied);
        layer.setDevicePixelRatio(frame.devicePixelRatio());
        layer.fill(Qt::transparent);
        {
            QPainter inside(&layer);
            PaintRoutine(inside, client, states, text);
        }
        dc.save();
        dc.setClipRegion(Shape());
        dc.drawImage(QPointF(0, 0), layer);
        dc.restore();
    }

    void DrawMeter(QPainter& dc, Object& object, const QRect& rect, CGP_StringSet states, const QString& text)
    {
        if constexpr (std::is_base_of_v<QProgressBar, T>) {
            Rectangle* meter = object.FindMatch(Words("Meter"));
            if (!meter)
                return;
            states.Add(QStringLiteral("Meter"));
            const QRect filled = MeterRect(rect, T::value(), T::minimum(), T::maximum(),
                                           T::orientation() == Qt::Vertical);
            if (filled.isEmpty())
                return;
            dc.save();
            dc.setClipRect(filled);
            meter->Draw(dc, filled, states, text);
            dc.restore();
        }
    }

    void DrawThumb(QPainter& dc, Object& object, CGP_StringSet states, const QString& text)
    {
        if constexpr (std::is_base_of_v<QSlider, T>) {
            Rectangle* thumb = object.FindMatch(Words("Thumb"));
            if (!thumb)
                return;
            states.Add(QStringLiteral("Thumb"));
            thumb->Draw(dc, ThumbRect(), states, text);
        }
    }

public:
    // Where the slider has its thumb now, in its own coordinates.
    QRect ThumbRect() const
    {
        if constexpr (std::is_base_of_v<QSlider, T>) {
            QStyleOptionSlider option;
            T::initStyleOption(&option);
            return T::style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        } else {
            return QRect();
        }
    }
};

} // namespace WINSKIN
