#include "skin/SkinableSliderCtrl.h"

#include "skin/Bitmap.h"

#include <QPointer>
#include <QProxyStyle>

namespace {

// The platform's slider, with a thumb the size of the skin's thumb picture.
class ThumbStyle : public QProxyStyle
{
public:
    explicit ThumbStyle(const CSkinableSliderCtrl* slider)
        : m_slider(slider)
    {
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const QSize thumb = Thumb();
        if (metric == PM_SliderLength && !thumb.isEmpty())
            return Horizontal() ? thumb.width() : thumb.height();
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override
    {
        QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        const QSize thumb = Thumb();
        if (control != CC_Slider || part != SC_SliderHandle || thumb.isEmpty())
            return rect;
        // As thick as the picture, across the middle of the slider.
        const QRect whole = option->rect;
        if (Horizontal())
            return QRect(rect.x(), whole.y() + (whole.height() - thumb.height()) / 2, rect.width(), thumb.height());
        return QRect(whole.x() + (whole.width() - thumb.width()) / 2, rect.y(), thumb.width(), rect.height());
    }

private:
    QSize Thumb() const { return m_slider ? m_slider->ThumbSize() : QSize(); }
    bool Horizontal() const { return !m_slider || m_slider->orientation() == Qt::Horizontal; }

    QPointer<const CSkinableSliderCtrl> m_slider;
};

// The first Bitmap with a picture at or below an item, depth first.
const WINSKIN::Bitmap* FirstPicture(WINSKIN::Rectangle* item)
{
    if (const WINSKIN::Bitmap* bitmap = item->AsBitmap(); bitmap && !bitmap->Picture().isNull())
        return bitmap;
    for (int i = 0; i < item->GetChildCount(); ++i) {
        if (const WINSKIN::Bitmap* found = FirstPicture(item->GetChild(i)))
            return found;
    }
    return nullptr;
}

} // namespace

CSkinableSliderCtrl::CSkinableSliderCtrl(QWidget* parent, int controlId)
    : SkinableCtrl(QStringLiteral("TrackBar"), parent, controlId)
{
    setOrientation(Qt::Horizontal);
    auto* style = new ThumbStyle(this);
    style->setParent(this);
    setStyle(style);
}

QSize CSkinableSliderCtrl::ThumbPictureSize(WINSKIN::Object& object)
{
    CGP_StringSet thumb;
    thumb.Add(QStringLiteral("Thumb"));
    WINSKIN::Rectangle* part = object.FindMatch(thumb);
    const WINSKIN::Bitmap* picture = part ? FirstPicture(part) : nullptr;
    return picture ? picture->Picture().size() : QSize();
}

void CSkinableSliderCtrl::SetObject(WINSKIN::Object* object)
{
    m_thumbSize = object ? ThumbPictureSize(*object) : QSize();
    SkinableCtrl::SetObject(object);
    updateGeometry();
}

void CSkinableSliderCtrl::RemoveSkin()
{
    m_thumbSize = QSize();
    SkinableCtrl::RemoveSkin();
    updateGeometry();
}
