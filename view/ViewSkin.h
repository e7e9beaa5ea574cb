#pragma once

#include <memory>

namespace WINSKIN {
class Skin;
}

// The skin the main view and every window of the game wear ("SKINS Nox/Advanced.skn"): the
// current skin while the view lives. Missing or unreadable, one line says so and the windows keep
// their plain look.
class CViewSkin
{
public:
    CViewSkin();
    ~CViewSkin();

    CViewSkin(const CViewSkin&) = delete;
    CViewSkin& operator=(const CViewSkin&) = delete;

    // Answers whether the skin was read and is worn now.
    bool Load();
    bool IsLoaded() const { return m_bLoaded; }

private:
    std::unique_ptr<WINSKIN::Skin> m_pSkin;
    bool m_bLoaded = false;
};
