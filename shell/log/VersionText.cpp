#include "shell/log/VersionText.h"

#include "VelmoraVersion.h"

QString GP_VersionText()
{
    return QString::asprintf("%d.%d.%d.%d", VELMORA_VERSION_MAJOR, VELMORA_VERSION_MINOR,
                             VELMORA_VERSION_PATCH, VELMORA_VERSION_TWEAK);
}
