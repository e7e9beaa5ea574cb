#pragma once

#include <optional>

namespace WINSKIN {

// Whether the desktop blends windows with what lies under them (a compositing manager runs), so
// that a window's translucent pixels show the desktop through: then skinned windows draw their
// rounded edges smoothly and cast a shadow. On X11 a compositing manager owns the selection
// "_NET_WM_CM_S<screen>"; Wayland always composes; elsewhere (offscreen) nothing does.
bool DesktopComposites();
// Decides it instead of the platform (tests and tools); nullopt asks the platform again.
void SetDesktopComposites(std::optional<bool> composites);

} // namespace WINSKIN
