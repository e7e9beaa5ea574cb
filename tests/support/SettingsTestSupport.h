#pragma once

#include "tests/support/CapturedLog.h"
#include "tests/support/TestFolder.h"

#include <QSettings>
#include <QString>

// What is stored under a value name, read straight from the settings file.
inline QVariant StoredValue(const QString& file, const QString& key)
{
    QSettings settings(file, QSettings::IniFormat);
    return settings.value(key);
}
