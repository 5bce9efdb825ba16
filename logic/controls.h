#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

// The check boxes and the buttons whose enabled flag the option board holds. Enumerators carry
// the control names of the main window so that code, widgets and tests speak one vocabulary.
enum class Box {
    chkProcessors,
    Check3,
    chkOutput,
    Check4,
    chkBrushMerge,
    chkLiquids,
    chkFreeTree,
    chkNoCsg,
    chkReach,
    chkConvertToMap,
    Check1,
    chkOptimiseAas,
};
inline constexpr std::size_t kBoxCount = 12;

enum class Button { Command2, cmdSelectAAS, cmdProcess };
inline constexpr std::size_t kButtonCount = 3;

inline constexpr std::array<Box, kBoxCount> kAllBoxes{
    Box::chkProcessors, Box::Check3,          Box::chkOutput,   Box::Check4,
    Box::chkBrushMerge, Box::chkLiquids,      Box::chkFreeTree, Box::chkNoCsg,
    Box::chkReach,      Box::chkConvertToMap, Box::Check1,      Box::chkOptimiseAas,
};

// Build options in the order the rules clear them and the composer appends them.
inline constexpr std::array<Box, 5> kBuildOptions{Box::chkOutput, Box::chkLiquids, Box::chkBrushMerge,
                                                  Box::chkFreeTree, Box::chkNoCsg};
inline constexpr std::array<Box, 3> kModeBoxes{Box::chkReach, Box::chkOptimiseAas, Box::chkConvertToMap};
inline constexpr std::array<Button, kButtonCount> kAllButtons{Button::Command2, Button::cmdSelectAAS,
                                                              Button::cmdProcess};
inline constexpr std::array<Box, 3> kInertBoxes{Box::Check1, Box::Check3, Box::Check4};

constexpr std::size_t indexOf(Box box)
{
    return static_cast<std::size_t>(box);
}

constexpr std::size_t indexOf(Button button)
{
    return static_cast<std::size_t>(button);
}

constexpr bool isInert(Box box)
{
    return std::ranges::find(kInertBoxes, box) != kInertBoxes.end();
}

std::string_view controlName(Box box);
std::string_view controlName(Button button);
