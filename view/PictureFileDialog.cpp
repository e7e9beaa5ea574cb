#include "view/PictureFileDialog.h"

#include "shell/dialogs/ModalRunner.h"
#include "view/model/CreationRules.h"

#include <QFileDialog>

namespace {
constexpr char kTitle[] = "Open";
}

QStringList GP_PictureFileFilters()
{
    QStringList filters;
    for (const CreationRules::PictureFilter& filter : CreationRules::PictureFilters()) {
        // Qt reads the patterns from the parentheses, separated by spaces.
        QString patterns = QString::fromLatin1(filter.patterns);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString label = QString::fromLatin1(filter.label);
        const qsizetype open = label.indexOf(QLatin1Char('('));
        filters << (open < 0 ? label + QStringLiteral(" (") + patterns + QLatin1Char(')')
                             : label.left(open + 1) + patterns + QLatin1Char(')'));
    }
    return filters;
}

QString GP_ChoosePictureFile(QWidget* parent, QString& openPath)
{
    QFileDialog dialog(parent, QString::fromLatin1(kTitle), openPath);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(GP_PictureFileFilters());
    if (GP_RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString file = dialog.selectedFiles().first();
    openPath = CreationRules::OpenPathOf(file);
    return file;
}
