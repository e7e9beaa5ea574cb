#include "skin/ButtonLooks.h"

#include "resources/GP_Resources.h"
#include "skin/Rectangle.h"
#include "skin/Skin.h"
#include "skin/Text.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The screens' night blue, which the compiled-in looks are composed on.
const QColor kDefaultMatte(0x11, 0x1A, 0x2E);
constexpr qreal kDenseFrom = 1.5;
constexpr char kMatteItem[] = "ButtonMatte";
} // namespace

CButtonLooks::CButtonLooks()
    : m_matte(kDefaultMatte)
{
}

QString CButtonLooks::FolderOf(const QString& skinFile)
{
    const QFileInfo file(skinFile);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("/buttons"));
}

CButtonLooks CButtonLooks::ForSkin(const WINSKIN::Skin* skin)
{
    CButtonLooks looks;
    if (!skin || skin->FilePath().isEmpty())
        return looks;
    looks.m_folder = FolderOf(skin->FilePath());
    WINSKIN::Rectangle* item = skin->FindByName(QLatin1String(kMatteItem));
    if (const WINSKIN::Text* matte = item ? item->AsText() : nullptr)
        looks.m_matte = WINSKIN::ColourFromRef(matte->BgColour());
    return looks;
}

QString CButtonLooks::LookPath(int buttonId, const QString& look, qreal devicePixelRatio) const
{
    if (!m_folder.isEmpty()) {
        const QString name = QStringLiteral("%1_%2").arg(buttonId).arg(look);
        const QDir folder(m_folder);
        if (devicePixelRatio >= kDenseFrom && QFileInfo(folder.filePath(name + QStringLiteral("@2x.gif"))).isFile())
            return folder.filePath(name + QStringLiteral("@2x.gif"));
        if (QFileInfo(folder.filePath(name + QStringLiteral(".gif"))).isFile())
            return folder.filePath(name + QStringLiteral(".gif"));
    }
    GP_InitResources();
    return GP_ButtonLookPath(buttonId, look);
}
