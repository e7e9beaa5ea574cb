#include "view/ViewSkin.h"

#include "engine/GP_Folders.h"
#include "shell/log/GP_LogFile.h"
#include "skin/Skin.h"

#include <QFile>

namespace {
constexpr char kSkinFile[] = "Advanced.skn";
} // namespace

CViewSkin::CViewSkin() = default;

CViewSkin::~CViewSkin()
{
    if (m_pSkin && WINSKIN::Skin::Current() == m_pSkin.get())
        WINSKIN::Skin::SetCurrent(nullptr);
}

bool CViewSkin::Load()
{
    const QString path = GP_FilePath(GP_Folder::SkinNox, QLatin1String(kSkinFile));
    if (!QFile::exists(path)) {
        GP_Log(QStringLiteral("CChildView::LoadSkin: no skin at %1; the windows keep their plain look\n").arg(path));
        return false;
    }
    m_pSkin = std::make_unique<WINSKIN::Skin>();
    WINSKIN::Skin* previous = WINSKIN::Skin::Current();
    WINSKIN::Skin::SetCurrent(m_pSkin.get());
    m_bLoaded = m_pSkin->Load(path);
    if (m_bLoaded)
        return true;
    GP_Log(QStringLiteral("CChildView::LoadSkin: %1 could not be read; the windows keep their plain look\n").arg(path));
    WINSKIN::Skin::SetCurrent(previous);
    return false;
}
