#pragma once

#include <QString>
#include <QVariant>

#include <initializer_list>

// Fills a message of the string table the way its "%s", "%d" and "%%" read: each "%s" or "%d"
// takes the next value in order, "%%" is one percent sign. Missing values leave their mark out.
QString GP_PrintfText(const QString& format, std::initializer_list<QVariant> values);
