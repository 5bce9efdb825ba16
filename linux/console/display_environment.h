#pragma once

#include <string>

// What the environment says of the display a console's window would go to.
struct DisplayEnvironment {
    std::string platform;       // QT_QPA_PLATFORM: the user's own choice, if any
    std::string sessionType;    // XDG_SESSION_TYPE
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string x11Display;     // DISPLAY

    static DisplayEnvironment current();

    // Whether a window could go anywhere: a platform chosen, other than offscreen, or a display named.
    bool namesDisplay() const;

    // The platforms the window stage asks Qt for, in order, then "offscreen", so that a display
    // that cannot be reached leaves a run without its window, never without its output. Qt's own
    // choice, but for a Wayland session with X beside it under a Qt older than 6.5 (`qtVersion`
    // encoded as QT_VERSION is): its Wayland platform there cannot ask for attention, so X comes
    // first.
    std::string windowPlatforms(int qtVersion) const;
};
