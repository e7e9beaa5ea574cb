#include "view/CreationScreen.h"

#include "engine/GP_Puzzle.h"
#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/log/GP_LogFile.h"
#include "view/ChildView.h"
#include "view/CreateImageDialog.h"
#include "view/CreatePrimaryDialog.h"
#include "view/LibraryCommands.h"
#include "view/PictureFileDialog.h"
#include "view/PuzzleNameDialog.h"
#include "view/model/GP_SettingsStore.h"

#include <QWidget>

namespace {
constexpr char kCaption[] = "Velmora";
// Between the panels and from the field's edge.
constexpr int kPanelMargin = 12;
// The name dialog was cancelled: nothing is made.
constexpr int kMakeCancelled = -1;

void DeletePanel(QWidget* panel)
{
    if (!panel)
        return;
    panel->hide();
    // A panel may be inside one of its own button's clicks.
    panel->deleteLater();
}
} // namespace

CCreationScreen::Host CCreationScreen::ViewHost(CChildView& view)
{
    Host host;
    host.changeMode = [&view](GameMode mode) { view.ChangeGameMode(mode); };
    host.fieldRect = [&view] { return view.FieldRect(); };
    host.repaint = [&view] { view.update(); };
    host.showMessage = [&view](int message, unsigned flags) {
        view.Ask(GP_LoadString(message), GP_LoadString(IDS_OK), QString(), MB_OK | flags);
    };
    return host;
}

CCreationScreen::CCreationScreen(QWidget* view, const CGP_Path* patterns, GP_ViewSettings& settings, Host host)
    : m_view(view)
    , m_patterns(patterns)
    , m_settings(settings)
    , m_host(std::move(host))
{
}

CCreationScreen::~CCreationScreen()
{
    delete m_imageDialog.data();
    delete m_primaryDialog.data();
}

void CCreationScreen::AnswerToLibrary(CLibraryCommands& library)
{
    CPuzzleLibrary& list = library.Library();
    m_host.nameTaken = [&list](const QString& name) { return bool(list.Find(name)); };
    m_host.puzzleMade = [&list](const boost::shared_ptr<CGP_Puzzle>& puzzle, const QString&, bool added) {
        // The entry is read back from the file just written, so that the progress saved when the
        // view goes compares against what is on disk.
        if (added)
            list.AddMade(puzzle);
        if (!list.Reload(puzzle->m_strTitle))
            GP_Log(QStringLiteral("CCreationScreen: the made puzzle \"%1\" could not be read back\n").arg(puzzle->m_strTitle));
    };
    m_host.sendToFriend = [&library](const QString& name) { library.SendPuzzle(name, false); };
}

CCreateImageDialog* CCreationScreen::ImageDialog() const
{
    return m_imageDialog;
}

CCreatePrimaryDialog* CCreationScreen::PrimaryDialog() const
{
    return m_primaryDialog;
}

void CCreationScreen::OnMainCreate()
{
    Drop();
    CCreationSession::Host host;
    host.stopWorkers = m_host.stopWorkers;
    host.changed = [this] { Refresh(); };
    host.nameTaken = m_host.nameTaken;
    host.puzzleMade = m_host.puzzleMade;
    m_session = std::make_unique<CCreationSession>(m_patterns, m_settings, std::move(host));
    m_imageDialog = new CCreateImageDialog(*m_session, [this] { OnCreateChangePicture(); }, m_view);
    m_primaryDialog = new CCreatePrimaryDialog(*m_session, [this] { OnCreateMake(); }, [this] { OnCreateBack(); }, m_view);
}

void CCreationScreen::Drop()
{
    DeletePanel(m_imageDialog);
    DeletePanel(m_primaryDialog);
    m_imageDialog = nullptr;
    m_primaryDialog = nullptr;
    m_session.reset();
    m_preview.Clear();
}

bool CCreationScreen::ShowImageStep()
{
    if (!m_session)
        OnMainCreate();
    const QString file = GP_ChoosePictureFile(m_view, m_settings.OpenPath);
    const int refusal = file.isEmpty() ? 0 : m_session->LoadPicture(file, m_host.fieldRect());
    if (refusal != 0)
        Message(refusal, MB_ICONERROR);
    if (file.isEmpty() || refusal != 0) {
        Drop();
        return false;
    }
    m_imageDialog->show();
    m_primaryDialog->show();
    PlacePanels();
    Refresh();
    return true;
}

bool CCreationScreen::OnMainModify(const CGP_Puzzle& selected)
{
    OnMainCreate();
    const int refusal = m_session->BeginModify(selected, m_host.fieldRect());
    if (refusal == 0)
        return true;
    Message(refusal, refusal == IDS_MODIFY_NOT_ALLOWED ? MB_ICONWARNING : MB_ICONERROR);
    Drop();
    return false;
}

void CCreationScreen::ShowParametersStep()
{
    if (!m_session || !m_session->HasPicture())
        return;
    m_primaryDialog->show();
    PlacePanels();
    Refresh();
}

void CCreationScreen::HidePanels()
{
    for (QWidget* panel : {static_cast<QWidget*>(m_imageDialog.data()), static_cast<QWidget*>(m_primaryDialog.data())}) {
        if (panel)
            panel->hide();
    }
}

void CCreationScreen::PlacePanels()
{
    // Down the right edge of the field, over the preview's margin.
    const QRect field = m_host.fieldRect();
    const QPoint corner = m_view->mapToGlobal(QPoint(field.right() + 1, field.top()));
    int top = corner.y() + kPanelMargin;
    for (QWidget* panel : {static_cast<QWidget*>(m_imageDialog.data()), static_cast<QWidget*>(m_primaryDialog.data())}) {
        if (!panel || !panel->isVisible())
            continue;
        panel->move(corner.x() - kPanelMargin - panel->width(), top);
        top += panel->height() + kPanelMargin;
    }
}

void CCreationScreen::OnCreateBack()
{
    GP_Log(QStringLiteral("OnCreateBack\n"));
    Drop();
    if (m_host.changeMode)
        m_host.changeMode(GameMode::MyPuzzles);
    if (m_host.repaint)
        m_host.repaint();
}

void CCreationScreen::OnCreateChangePicture()
{
    const QString file = GP_ChoosePictureFile(m_view, m_settings.OpenPath);
    if (file.isEmpty())
        return;
    // A refused picture leaves the one being cut as it was.
    if (const int refusal = m_session->LoadPicture(file, m_host.fieldRect()))
        Message(refusal, MB_ICONERROR);
}

void CCreationScreen::OnCreateMake()
{
    m_session->SetRotation(m_primaryDialog->RotationChecked());
    const int result = m_session->IsModification() ? m_session->MakeModified() : MakeWithName();
    if (result == kMakeCancelled)
        return;
    if (result != 0)
        Message(result, MB_ICONERROR);
    else if (m_session->SendToFriend() && m_host.sendToFriend)
        m_host.sendToFriend(m_madeName);
    Drop();
    if (m_host.changeMode)
        m_host.changeMode(GameMode::MyPuzzles);
    if (m_host.repaint)
        m_host.repaint();
}

int CCreationScreen::MakeWithName()
{
    QString name = m_session->ProposedName();
    QString author = m_session->ProposedAuthor();
    for (;;) {
        CPuzzleNameDialog dialog(name, author, bool(m_host.sendToFriend), m_view);
        if (GP_RunModal(dialog) != IDOK)
            return kMakeCancelled;
        name = dialog.Name();
        author = dialog.Author();
        const int result = m_session->MakeNew(name, author, dialog.SendToFriend());
        if (result == 0 || result == IDS_DISK_FULL) {
            m_madeName = name;
            return result;
        }
        Message(result, MB_ICONERROR);
    }
}

void CCreationScreen::Message(int message, unsigned flags) const
{
    if (m_host.showMessage) {
        m_host.showMessage(message, flags);
        return;
    }
    CMessageBoxDialog::Ask(m_view, GP_LoadString(message), QLatin1String(kCaption), GP_LoadString(IDS_OK), QString(),
                           QString(), flags);
}

void CCreationScreen::Refresh()
{
    if (m_imageDialog)
        m_imageDialog->Refresh();
    if (m_primaryDialog)
        m_primaryDialog->Refresh();
    if (m_host.repaint)
        m_host.repaint();
}

void CCreationScreen::Paint(QPainter& painter, const QRect& field)
{
    if (m_session && m_session->HasPicture())
        m_preview.Paint(painter, field, *m_session->Puzzle(), m_session->CutRevision());
}
