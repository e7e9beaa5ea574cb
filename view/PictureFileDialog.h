#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The open-file dialog for a puzzle's picture: the six picture filters, starting in openPath.
// On OK openPath becomes the chosen file's folder and the file is answered; otherwise an empty
// text. The working folder is left as it was.
QString GP_ChoosePictureFile(QWidget* parent, QString& openPath);

// The dialog's filters in Qt's form ("label (patterns)"), in order.
QStringList GP_PictureFileFilters();
