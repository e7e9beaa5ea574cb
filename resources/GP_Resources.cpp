#include "resources/GP_Resources.h"

#include <QtGlobal>

#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitVelmoraResources()
{
    Q_INIT_RESOURCE(velmora);
}

void GP_InitResources()
{
    static std::once_flag once;
    std::call_once(once, InitVelmoraResources);
}

QString GP_BitmapPath(const QString& nameOrNumber)
{
    return QStringLiteral(":/bitmap/") + nameOrNumber;
}

QImage GP_LoadBitmap(const QString& nameOrNumber, qreal devicePixelRatio)
{
    GP_InitResources();
    constexpr qreal kDenseFrom = 1.5;
    if (devicePixelRatio >= kDenseFrom) {
        QImage dense(GP_BitmapPath(nameOrNumber + QStringLiteral("@2x")));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2);
            return dense;
        }
    }
    return QImage(GP_BitmapPath(nameOrNumber));
}

QString GP_WavePath(int number)
{
    return QStringLiteral(":/wave/%1").arg(number);
}

QString GP_CursorPath(int number)
{
    return QStringLiteral(":/cursor/%1").arg(number);
}

QString GP_IconPath(int number)
{
    return QStringLiteral(":/icon/%1").arg(number);
}

QString GP_ButtonLookPath(int buttonId, const QString& look)
{
    return QStringLiteral(":/gif/%1/%2").arg(buttonId).arg(look);
}

QString GP_ButtonFontPath()
{
    return QStringLiteral(":/font/buttons");
}
