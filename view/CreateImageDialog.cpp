#include "view/CreateImageDialog.h"

#include "skin/SkinableButton.h"
#include "skin/SkinableSliderCtrl.h"
#include "skin/SkinableStatic.h"
#include "view/SliderStepButtons.h"
#include "view/model/CreationSession.h"

#include <QSignalBlocker>

namespace {
constexpr QSize kClientSize(300, 116);
// The number every label shares.
constexpr int kLabel = -1;
constexpr int kPageStep = 10;

struct Placement
{
    int id;
    QRect rect;
};

constexpr Placement kPlacements[] = {
    {kLabel, {12, 10, 276, 22}},
    {CCreateImageDialog::kSmaller, {12, 36, 28, 26}},
    {CCreateImageDialog::kImageSize, {46, 36, 208, 26}},
    {CCreateImageDialog::kLarger, {260, 36, 28, 26}},
    {CCreateImageDialog::kChangeImage, {12, 76, 134, 28}},
    {CCreateImageDialog::kResetSize, {154, 76, 134, 28}},
};

void AddButton(CLDialog& dialog, int id, const char* label)
{
    auto* button = new CSkinableButton(&dialog, id);
    button->setText(QString::fromUtf8(label));
    button->setAutoDefault(false);
}

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Image"));
    auto* label = new CSkinableStatic(&dialog, kLabel);
    label->setText(QStringLiteral("Image Size"));
    new CSkinableSliderCtrl(&dialog, CCreateImageDialog::kImageSize);
    AddButton(dialog, CCreateImageDialog::kSmaller, "<");
    AddButton(dialog, CCreateImageDialog::kLarger, ">");
    AddButton(dialog, CCreateImageDialog::kChangeImage, "Change Image");
    AddButton(dialog, CCreateImageDialog::kResetSize, "Reset Size");
}
} // namespace

CCreateImageDialog::CCreateImageDialog(CCreationSession& session, std::function<void()> changeImage, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_session(session)
    , m_changeImage(std::move(changeImage))
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
}

CSkinableSliderCtrl* CCreateImageDialog::ImageSizeSlider() const
{
    return ControlAs<CSkinableSliderCtrl>(kImageSize);
}

void CCreateImageDialog::OnInitDialog()
{
    CSkinableSliderCtrl* slider = ImageSizeSlider();
    slider->setPageStep(kPageStep);
    // A move of the thumb, an arrow key or a page click: the release that ends a drag changes nothing.
    connect(slider, &QSlider::valueChanged, this, [this](int width) { m_session.ChangeImageWidth(width); });
    ConnectSliderStepButtons(slider, ControlAs<QAbstractButton>(kSmaller), ControlAs<QAbstractButton>(kLarger));
    connect(ControlAs<QAbstractButton>(kResetSize), &QAbstractButton::clicked, this,
            [this] { ImageSizeSlider()->setValue(ImageSizeSlider()->maximum()); });
    connect(ControlAs<QAbstractButton>(kChangeImage), &QAbstractButton::clicked, this, [this] {
        if (m_changeImage)
            m_changeImage();
    });
    ResizeClient(kClientSize);
    PlaceControls();
    Refresh();
}

void CCreateImageDialog::resizeEvent(QResizeEvent* event)
{
    CLDialog::resizeEvent(event);
    PlaceControls();
}

void CCreateImageDialog::PlaceControls()
{
    const QPoint origin = contentsRect().topLeft();
    for (const Placement& placement : kPlacements) {
        if (QWidget* control = Control(placement.id))
            control->setGeometry(placement.rect.translated(origin));
    }
}

void CCreateImageDialog::Refresh()
{
    CSkinableSliderCtrl* slider = ImageSizeSlider();
    if (!slider)
        return;
    const QSignalBlocker quiet(slider);
    const CCreationSession::Range range = m_session.ImageWidthRange();
    slider->setRange(range.minimum, range.maximum);
    slider->setValue(m_session.ImageWidth());
    slider->update();
}
