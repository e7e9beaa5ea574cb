#include "skin/DesktopCompositing.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>
#include <string>

#if defined(VELMORA_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define VELMORA_ASK_X11 1
#endif

namespace WINSKIN {

namespace {
std::optional<bool> s_decided;

#ifdef VELMORA_ASK_X11
bool X11Composites()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    // The screen number of the display name (":0.1" is screen 1); Qt opens the default one.
    int screen = 0;
    if (const char* display = std::getenv("DISPLAY")) {
        const std::string name(display);
        const auto dot = name.rfind('.');
        if (dot != std::string::npos && dot > name.rfind(':'))
            screen = std::atoi(name.c_str() + dot + 1);
    }
    const std::string atomName = "_NET_WM_CM_S" + std::to_string(screen);
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, uint16_t(atomName.size()), atomName.c_str()), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return owned;
}
#endif
} // namespace

bool DesktopComposites()
{
    if (s_decided)
        return *s_decided;
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
#ifdef VELMORA_ASK_X11
    if (platform == QLatin1String("xcb"))
        return X11Composites();
#endif
    return false;
}

void SetDesktopComposites(std::optional<bool> composites)
{
    s_decided = composites;
}

} // namespace WINSKIN
