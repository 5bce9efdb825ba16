#pragma once

#include "controls.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

enum class ControlKind { Button, CheckBox, TextBox, OutputPanel };

// What a click on a control runs (see WindowSession).
enum class ControlAction {
    None,
    ClickBox,
    SelectBspFile,
    SelectAasFile,
    ProcessFile,
    DisplayFileName,
    DisplayCommandLine,
};

// One control of the main window. Geometry is in twips (1/1440 inch), the unit the layout was
// drawn in; fifteen twips make one device-independent pixel. A check box names the board's box it
// shows, a button whose enabled flag the board holds names that button, and the box that shows the
// board's displayed path says so, so that no one has to find them again by name, place or kind.
struct ControlRow {
    std::string_view name;
    ControlKind kind;
    std::string_view caption;
    std::string_view toolTip;
    int left;
    int top;
    int width;
    int height;
    bool enabled;
    ControlAction action = ControlAction::None;
    std::optional<Box> box = std::nullopt;
    std::optional<Button> button = std::nullopt;
    bool showsPath = false;
};

inline constexpr std::string_view kWindowTitle = "Tarnwick v0.05";

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 4920;
inline constexpr int kClientHeightTwips = 4290;

// Every control of the main window, in tab order.
std::span<const ControlRow> controlTable();

// The row of the control of that name in the table, if there is one.
std::optional<std::size_t> rowNamed(std::string_view name);

// Whether a control lies wholly outside the window's client area, where no one can see it.
bool isOffScreen(const ControlRow& row);
