#include "controls.h"

std::string_view controlName(Box box)
{
    static constexpr std::array<std::string_view, kBoxCount> names{
        "chkProcessors", "Check3",   "chkOutput", "Check4",          "chkBrushMerge", "chkLiquids",
        "chkFreeTree",   "chkNoCsg", "chkReach",  "chkConvertToMap", "Check1",        "chkOptimiseAas",
    };
    return names[indexOf(box)];
}

std::string_view controlName(Button button)
{
    static constexpr std::array<std::string_view, kButtonCount> names{"Command2", "cmdSelectAAS",
                                                                      "cmdProcess"};
    return names[indexOf(button)];
}
