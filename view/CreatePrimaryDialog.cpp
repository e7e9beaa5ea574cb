#include "view/CreatePrimaryDialog.h"

#include "skin/SkinableButton.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableRadio.h"
#include "skin/SkinableSliderCtrl.h"
#include "skin/SkinableStatic.h"
#include "view/SliderStepButtons.h"
#include "view/model/CreationSession.h"

#include <QSignalBlocker>

#include <iterator>

namespace {
constexpr QSize kClientSize(330, 426);
// The number every label shares.
constexpr int kLabel = -1;
constexpr int kPageStep = 10;
constexpr int kColumnWidth = 150;
constexpr int kRightColumn = 168;
constexpr int kPatternTop = 154;
constexpr int kPatternRow = 24;
constexpr int kPatternsPerColumn = kPatternCount / 2;

using Dialog = CCreatePrimaryDialog;

struct Placement
{
    int id;
    QRect rect;
};

constexpr Placement kPlacements[] = {
    {Dialog::kPieceSmaller, {12, 34, 28, 26}}, {Dialog::kPieceSize, {46, 34, 238, 26}},
    {Dialog::kPieceLarger, {290, 34, 28, 26}}, {Dialog::kCurvatureLess, {12, 94, 28, 26}},
    {Dialog::kCurvature, {46, 94, 238, 26}},   {Dialog::kCurvatureMore, {290, 94, 28, 26}},
    {Dialog::kRotation, {12, 352, 150, 24}},   {Dialog::kPiecesText, {168, 352, 150, 24}},
    {Dialog::kMake, {12, 388, 150, 28}},       {Dialog::kBack, {168, 388, 150, 28}},
};

struct Label
{
    const char* text;
    int top;
};
constexpr Label kLabels[] = {{"Piece Size", 10}, {"Curvature", 70}, {"Pattern", 130}};

QRect PatternRect(int index)
{
    const int left = index < kPatternsPerColumn ? 12 : kRightColumn;
    return {left, kPatternTop + (index % kPatternsPerColumn) * kPatternRow, kColumnWidth, kPatternRow};
}

template <typename T>
T* Add(CLDialog& dialog, int id, const QString& text)
{
    auto* control = new T(&dialog, id);
    control->setText(text);
    return control;
}

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Cutting"));
    for (const Label& label : kLabels)
        Add<CSkinableStatic>(dialog, kLabel, QString::fromUtf8(label.text));
    new CSkinableSliderCtrl(&dialog, Dialog::kPieceSize);
    new CSkinableSliderCtrl(&dialog, Dialog::kCurvature);
    for (int id : {Dialog::kPieceSmaller, Dialog::kCurvatureLess})
        Add<CSkinableButton>(dialog, id, QStringLiteral("<"))->setAutoDefault(false);
    for (int id : {Dialog::kPieceLarger, Dialog::kCurvatureMore})
        Add<CSkinableButton>(dialog, id, QStringLiteral(">"))->setAutoDefault(false);
    for (int index = 0; index < kPatternCount; ++index)
        Add<CSkinableRadio>(dialog, Dialog::kPatternButtons[index], QStringLiteral("Pattern %1").arg(index + 1));
    Add<CSkinableCheckBox>(dialog, Dialog::kRotation, QStringLiteral("Rotation"));
    Add<CSkinableStatic>(dialog, Dialog::kPiecesText, QString());
    Add<CSkinableButton>(dialog, Dialog::kMake, QStringLiteral("Make"))->setAutoDefault(false);
    Add<CSkinableButton>(dialog, Dialog::kBack, QStringLiteral("Back"))->setAutoDefault(false);
}
} // namespace

CCreatePrimaryDialog::CCreatePrimaryDialog(CCreationSession& session, std::function<void()> make,
                                           std::function<void()> back, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_session(session)
    , m_make(std::move(make))
    , m_back(std::move(back))
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
}

bool CCreatePrimaryDialog::RotationChecked() const
{
    const auto* box = ControlAs<QAbstractButton>(kRotation);
    return box && box->isChecked();
}

void CCreatePrimaryDialog::OnInitDialog()
{
    ConnectControls();
    ResizeClient(kClientSize);
    PlaceControls();
    Refresh();
}

void CCreatePrimaryDialog::ConnectControls()
{
    auto* pieceSize = ControlAs<QSlider>(kPieceSize);
    auto* curvature = ControlAs<QSlider>(kCurvature);
    for (QSlider* slider : {pieceSize, curvature})
        slider->setPageStep(kPageStep);
    connect(pieceSize, &QSlider::valueChanged, this, [this](int size) { m_session.ChangePieceSize(size); });
    connect(curvature, &QSlider::valueChanged, this, [this](int position) { m_session.ChangeChaotic(position); });
    ConnectSliderStepButtons(pieceSize, ControlAs<QAbstractButton>(kPieceSmaller), ControlAs<QAbstractButton>(kPieceLarger));
    ConnectSliderStepButtons(curvature, ControlAs<QAbstractButton>(kCurvatureLess), ControlAs<QAbstractButton>(kCurvatureMore));
    for (int index = 0; index < kPatternCount; ++index) {
        connect(ControlAs<QAbstractButton>(kPatternButtons[index]), &QAbstractButton::toggled, this, [this, index](bool on) {
            if (on)
                m_session.ChangePathIndex(index);
        });
    }
    // Kept in the session at once, so that a refresh before "Make" shows the player's tick.
    connect(ControlAs<QAbstractButton>(kRotation), &QAbstractButton::toggled, this,
            [this](bool on) { m_session.SetRotation(on); });
    connect(ControlAs<QAbstractButton>(kMake), &QAbstractButton::clicked, this, [this] { m_make(); });
    connect(ControlAs<QAbstractButton>(kBack), &QAbstractButton::clicked, this, [this] { m_back(); });
}

void CCreatePrimaryDialog::resizeEvent(QResizeEvent* event)
{
    CLDialog::resizeEvent(event);
    PlaceControls();
}

void CCreatePrimaryDialog::PlaceControls()
{
    const QPoint origin = contentsRect().topLeft();
    for (const Placement& placement : kPlacements) {
        if (QWidget* control = Control(placement.id))
            control->setGeometry(placement.rect.translated(origin));
    }
    for (int index = 0; index < kPatternCount; ++index) {
        if (QWidget* button = Control(kPatternButtons[index]))
            button->setGeometry(PatternRect(index).translated(origin));
    }
    int label = 0;
    for (QWidget* child : findChildren<QWidget*>()) {
        if (WINSKIN::ControlId(child) == kLabel && label < int(std::size(kLabels)))
            child->setGeometry(QRect(12, kLabels[label++].top, 306, 22).translated(origin));
    }
}

void CCreatePrimaryDialog::Refresh()
{
    auto* pieceSize = ControlAs<QSlider>(kPieceSize);
    auto* curvature = ControlAs<QSlider>(kCurvature);
    if (!pieceSize || !curvature)
        return;
    QList<QWidget*> changed{pieceSize, curvature, Control(kRotation)};
    for (int id : kPatternButtons)
        changed << Control(id);
    for (QWidget* control : changed) {
        const QSignalBlocker quiet(control);
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            const int id = WINSKIN::ControlId(button);
            button->setChecked(id == kRotation ? m_session.Rotation() : id == kPatternButtons[m_session.PatternIndex()]);
        }
    }
    {
        const QSignalBlocker quietSize(pieceSize);
        const QSignalBlocker quietCurvature(curvature);
        const CCreationSession::Range pieces = m_session.PieceSizeRange();
        pieceSize->setRange(pieces.minimum, pieces.maximum);
        pieceSize->setValue(m_session.PieceSizePosition());
        curvature->setRange(0, CreationRules::kCurvatureSteps);
        curvature->setValue(m_session.CurvaturePosition());
    }
    if (auto* text = ControlAs<QLabel>(kPiecesText))
        text->setText(m_session.PiecesText());
    for (QWidget* control : findChildren<QWidget*>())
        control->update();
}
