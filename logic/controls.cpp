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

namespace {

template <typename Id, std::size_t N>
std::optional<Id> idNamed(std::string_view name, const std::array<Id, N>& ids)
{
    for (Id id : ids) {
        if (controlName(id) == name) {
            return id;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Box> boxNamed(std::string_view name)
{
    return idNamed(name, kAllBoxes);
}

std::optional<Button> buttonNamed(std::string_view name)
{
    return idNamed(name, kAllButtons);
}
