#pragma once

#include <QString>

// The program's version as "%d.%d.%d.%d", most significant part first.
QString GP_VersionText();
