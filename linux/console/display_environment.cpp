#include "display_environment.h"

#include <cstdlib>

namespace {

constexpr int kQtWithWaylandAttention = 0x060500;

std::string variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

DisplayEnvironment DisplayEnvironment::current()
{
    return {variable("QT_QPA_PLATFORM"), variable("XDG_SESSION_TYPE"), variable("WAYLAND_DISPLAY"),
            variable("DISPLAY")};
}

bool DisplayEnvironment::namesDisplay() const
{
    if (!platform.empty()) {
        return platform != "offscreen";
    }
    return !x11Display.empty() || !waylandDisplay.empty();
}

std::string DisplayEnvironment::windowPlatforms(int qtVersion) const
{
    const bool wayland = sessionType == "wayland" && !waylandDisplay.empty();
    const std::string chosen = !platform.empty() ? platform
                               : wayland && !x11Display.empty() && qtVersion < kQtWithWaylandAttention
                                   ? "xcb;wayland"
                               : wayland ? "wayland;xcb"
                                         : "xcb";
    return chosen + ";offscreen";
}
