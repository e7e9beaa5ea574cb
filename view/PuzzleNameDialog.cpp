#include "view/PuzzleNameDialog.h"

#include "shell/dialogs/MessageBoxDialog.h"
#include "skin/SkinableButton.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableEdit.h"
#include "skin/SkinableStatic.h"

#include <iterator>

namespace {
constexpr QSize kClientSize(340, 164);
// The number every label shares.
constexpr int kLabel = -1;
// Far beyond what the checks take: the player sees "too long" rather than a field that stops.
constexpr int kEditLimit = 256;

struct Placement
{
    int id;
    QRect rect;
};

constexpr Placement kPlacements[] = {
    {CPuzzleNameDialog::kName, {80, 12, 248, 28}},         {CPuzzleNameDialog::kAuthor, {80, 48, 248, 28}},
    {CPuzzleNameDialog::kSendToFriend, {12, 86, 316, 24}}, {CPuzzleNameDialog::kOk, {120, 124, 100, 28}},
    {CPuzzleNameDialog::kCancel, {228, 124, 100, 28}},
};
constexpr int kLabelTops[] = {16, 52};

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Puzzle Name"));
    for (const char* text : {"Name", "Author"})
        (new CSkinableStatic(&dialog, kLabel))->setText(QString::fromUtf8(text));
    for (int id : {CPuzzleNameDialog::kName, CPuzzleNameDialog::kAuthor})
        (new CSkinableEdit(&dialog, id))->setMaxLength(kEditLimit);
    (new CSkinableCheckBox(&dialog, CPuzzleNameDialog::kSendToFriend))->setText(QStringLiteral("Send this puzzle to a friend"));
    auto* ok = new CSkinableButton(&dialog, CPuzzleNameDialog::kOk);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    (new CSkinableButton(&dialog, CPuzzleNameDialog::kCancel))->setText(QStringLiteral("Cancel"));
}
} // namespace

CPuzzleNameDialog::CPuzzleNameDialog(const QString& name, const QString& author, bool sendOffered, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_name(name)
    , m_author(author)
    , m_sendOffered(sendOffered)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
}

QString CPuzzleNameDialog::Name() const
{
    const auto* edit = ControlAs<QLineEdit>(kName);
    return edit ? edit->text() : m_name;
}

QString CPuzzleNameDialog::Author() const
{
    const auto* edit = ControlAs<QLineEdit>(kAuthor);
    return edit ? edit->text() : m_author;
}

bool CPuzzleNameDialog::SendToFriend() const
{
    const auto* box = ControlAs<QAbstractButton>(kSendToFriend);
    return m_sendOffered && box && box->isChecked();
}

void CPuzzleNameDialog::OnInitDialog()
{
    ControlAs<QLineEdit>(kName)->setText(m_name);
    ControlAs<QLineEdit>(kAuthor)->setText(m_author);
    Control(kSendToFriend)->setVisible(m_sendOffered);
    connect(ControlAs<QAbstractButton>(kOk), &QAbstractButton::clicked, this, [this] { done(IDOK); });
    connect(ControlAs<QAbstractButton>(kCancel), &QAbstractButton::clicked, this, [this] { done(IDCANCEL); });
    ResizeClient(kClientSize);
    PlaceControls();
    CenterWindow();
    ControlAs<QLineEdit>(kName)->selectAll();
    Control(kName)->setFocus();
}

void CPuzzleNameDialog::resizeEvent(QResizeEvent* event)
{
    CLDialog::resizeEvent(event);
    PlaceControls();
}

void CPuzzleNameDialog::PlaceControls()
{
    const QPoint origin = contentsRect().topLeft();
    for (const Placement& placement : kPlacements) {
        if (QWidget* control = Control(placement.id))
            control->setGeometry(placement.rect.translated(origin));
    }
    int label = 0;
    for (QWidget* child : findChildren<QWidget*>()) {
        if (WINSKIN::ControlId(child) == kLabel && label < int(std::size(kLabelTops)))
            child->setGeometry(QRect(12, kLabelTops[label++], 64, 22).translated(origin));
    }
}
