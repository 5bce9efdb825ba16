#include "control_table.h"

#include <array>

namespace {

using enum ControlKind;
using enum ControlAction;

constexpr std::array kControls{
    ControlRow{"Command2", Button, "Select .BSP file", "Select a Quake3 .BSP file for .AAS conversion", 120,
               120, 2295, 495, true, SelectBspFile, std::nullopt, ::Button::Command2},
    ControlRow{"cmdProcess", Button, "Process file", "Do the .AAS compile now.", 2520, 120, 2295, 495, true,
               ProcessFile, std::nullopt, ::Button::cmdProcess},
    ControlRow{"chkProcessors", CheckBox, "Dual Processors. (NT only)",
               "Enables the use of dual processors to speed compiling of the .AAS", 120, 1320, 2415, 375,
               true, ClickBox, Box::chkProcessors},
    ControlRow{"Check3", CheckBox, "Enable optimisation", "", 120, 1680, 2295, 375, false, ClickBox,
               Box::Check3},
    ControlRow{"chkOutput", CheckBox, "Disable output.", "Disabled output of .AAS data (DOS box only)", 120,
               2040, 1815, 375, true, ClickBox, Box::chkOutput},
    ControlRow{"Check4", CheckBox, "Breath first BSP building", "", 120, 2400, 2055, 375, false, ClickBox,
               Box::Check4},
    ControlRow{"chkBrushMerge", CheckBox, "Dont merge brushes", "", 120, 2760, 1935, 375, true, ClickBox,
               Box::chkBrushMerge},
    ControlRow{"chkLiquids", CheckBox, "Dont write liquids to map",
               "Water, slime and lava brushes won't be written.", 120, 3120, 2175, 375, true, ClickBox,
               Box::chkLiquids},
    ControlRow{"chkFreeTree", CheckBox, "Free the BSP tree", "", 120, 3480, 1695, 375, true, ClickBox,
               Box::chkFreeTree},
    ControlRow{"chkNoCsg", CheckBox, "Disable brush chopping", "Brush overlap won't be removed.", 120, 3840,
               2055, 375, true, ClickBox, Box::chkNoCsg},
    ControlRow{"chkReach", CheckBox, "Recalculate reachabilities",
               "Calculate reachabilities only in a current .AAS", 2760, 1320, 2175, 375, true, ClickBox,
               Box::chkReach},
    ControlRow{"chkConvertToMap", CheckBox, "Convert BSP to .MAP", "Convert a Quake3 .BSP to a Q3 .MAP file",
               2760, 1680, 2055, 375, true, ClickBox, Box::chkConvertToMap},
    ControlRow{"Check1", CheckBox, "Compute clusters", "", 2760, 3000, 2175, 375, false, ClickBox,
               Box::Check1},
    ControlRow{"chkOptimiseAas", CheckBox, "Optimise .AAS file", "", 2760, 3360, 2295, 255, true, ClickBox,
               Box::chkOptimiseAas},
    ControlRow{"cmdSelectAAS", Button, "Select .AAS file", "", 2760, 3720, 2055, 495, false, SelectAasFile,
               std::nullopt, ::Button::cmdSelectAAS},
    ControlRow{"picOut1", OutputPanel, "", "", 5640, 2400, 6495, 1815, true},
    ControlRow{"Command3", Button, "Display file name/path", "", 8040, 1200, 1095, 1095, true,
               DisplayFileName},
    ControlRow{"Command4", Button, "Display command line", "", 9240, 1200, 1215, 1095, true,
               DisplayCommandLine},
    ControlRow{"txtFileName", TextBox, "", "", 120, 720, 4695, 435, true, None, std::nullopt, std::nullopt,
               true},
};

} // namespace

std::span<const ControlRow> controlTable()
{
    return kControls;
}

std::optional<std::size_t> rowNamed(std::string_view name)
{
    for (std::size_t row = 0; row < kControls.size(); ++row) {
        if (kControls[row].name == name) {
            return row;
        }
    }
    return std::nullopt;
}

bool isOffScreen(const ControlRow& row)
{
    return row.left >= kClientWidthTwips || row.top >= kClientHeightTwips;
}
