#include "view/LibraryCommands.h"

#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/WaitDialog.h"
#include "tests/view/model/LibraryTestSupport.h"

#include <QFileDialog>
#include <QLabel>

#include <gtest/gtest.h>

using namespace librarytest;

namespace {
// Answers every modal dialog as a player would and writes down what each one said.
class Player
{
public:
    Player()
    {
        m_previous = GP_SetModalRunner([this](QDialog& dialog) {
            if (auto* box = dynamic_cast<CMessageBoxDialog*>(&dialog)) {
                box->Create();
                seen << box->ControlAs<QLabel>(CMessageBoxDialog::kTextControl)->text();
                return answers.isEmpty() ? IDOK : answers.takeFirst();
            }
            if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
                seen << files->nameFilters().join(QLatin1Char(';'));
                files->selectFile(saveAs);
                return int(QDialog::Accepted);
            }
            seen << dialog.windowTitle();
            return dialog.exec();
        });
    }
    ~Player() { GP_SetModalRunner(m_previous); }

    QStringList seen;
    QList<int> answers;
    QString saveAs;

private:
    GP_ModalRunner m_previous;
};
} // namespace

TEST(LibraryCommands, DeleteAsksFirstAndSendSavesThePackageWhereThePlayerChose)
{
    TestFolder folder;
    CapturedLog log(folder);
    CLibraryCommands::CreateFolders();
    WritePuzzle(QStringLiteral("Harbour"));
    WritePuzzle(QStringLiteral("Orchard"));
    const QString compiler = folder.Write(QStringLiteral("DATA/makensis"), "#!/bin/sh\nsleep 0.3\necho MZ > \"${4#-DOUT_FILE=}\"\n");
    QFile::setPermissions(compiler, QFile::Permissions(0x7755));
    Player player;
    QWidget view;
    CLibraryCommands commands(&view);
    int steps = 0;
    commands.ListLibrary([&] { ++steps; });
    CPuzzleLibrary& library = commands.Library();
    ASSERT_EQ(library.Size(), 2u);

    EXPECT_FALSE(commands.OnMainRemove());
    library.SelectOnly(library.Find(QStringLiteral("Harbour")));
    player.answers = {IDCANCEL};
    EXPECT_FALSE(commands.OnMainRemove()) << "No removed the puzzle";
    EXPECT_TRUE(commands.OnMainRemove());
    EXPECT_EQ(player.seen, (QStringList{GP_LoadString(IDS_NONE_SELECTED), GP_LoadString(IDS_ARE_YOU_SURE),
                                        GP_LoadString(IDS_ARE_YOU_SURE)}));
    EXPECT_FALSE(QFile::exists(GP_PuzzlePaths::LibraryFile(QStringLiteral("Harbour"))));

    player.seen.clear();
    player.saveAs = folder.File(QStringLiteral("For Ada.exe"));
    library.SelectOnly(library.Find(QStringLiteral("Orchard")));
    EXPECT_TRUE(commands.OnMainSend());
    EXPECT_EQ(player.seen, (QStringList{QStringLiteral("Creating..."), QLatin1String(CFriendPackage::kSaveFilter)}));
    EXPECT_EQ(Bytes(player.saveAs), QByteArray("MZ\n"));

    // No package came out: 229, and no save dialog.
    player.seen.clear();
    QFile::remove(compiler);
    folder.Write(QStringLiteral("DATA/makensis"), "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(compiler, QFile::Permissions(0x7755));
    EXPECT_FALSE(commands.SendPuzzle(QStringLiteral("Orchard"), false));
    EXPECT_EQ(player.seen, (QStringList{QStringLiteral("Creating..."), GP_LoadString(IDS_CANNOT_CREATE_FILE)}));
}
