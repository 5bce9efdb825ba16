#include "run_outputs.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

using Mode = RunOutputs::Mode;

struct ModeSwitch {
    std::string_view name;
    Mode mode;
};

constexpr std::array<ModeSwitch, 4> kModes{{
    {"-bsp2aas", Mode::Bsp2Aas},
    {"-reach", Mode::Reach},
    {"-aasopt", Mode::AasOpt},
    {"-bsp2map", Mode::Bsp2Map},
}};

// The compiler compares its switches without regard to letter case.
bool sameSwitch(std::string_view argument, std::string_view name)
{
    return std::equal(argument.begin(), argument.end(), name.begin(), name.end(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b; });
}

bool isSeparator(char character)
{
    return character == '/' || character == '\\';
}

// Both separators count on every platform, as they do in the compiler.
bool isAbsolute(std::string_view path)
{
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const bool onDrive = path.size() >= 2 && isLetter(path[0]) && path[1] == ':';
    return onDrive || (!path.empty() && isSeparator(path.front()));
}

// A folder in Windows' form names a drive or a share; any other, "." included, is a POSIX one.
std::string inFolder(const std::string& folder, const std::string& name)
{
    const bool windowsForm = (folder.size() >= 2 && folder[1] == ':') || folder.starts_with("\\\\");
    const char separator = windowsForm ? '\\' : '/';
    const bool endsInSeparator = !folder.empty() && isSeparator(folder.back());
    return endsInSeparator ? folder + name : folder + separator + name;
}

std::string resolved(const std::string& folder, const std::string& path)
{
    return isAbsolute(path) ? path : inFolder(folder, path);
}

// With no '.' anywhere the compiler is left with the extension alone, in its working folder.
std::string withExtension(const std::string& path, const char* extension)
{
    const std::size_t dot = path.rfind('.');
    return (dot == std::string::npos ? std::string() : path.substr(0, dot + 1)) + extension;
}

std::optional<Mode> modeOf(const std::string& argument)
{
    const auto named = std::find_if(kModes.begin(), kModes.end(),
                                    [&](const ModeSwitch& mode) { return sameSwitch(argument, mode.name); });
    return named == kModes.end() ? std::nullopt : std::optional(named->mode);
}

std::string mapFileOf(const std::string& map)
{
    const auto nameStart = std::find_if(map.rbegin(), map.rend(), isSeparator).base();
    const auto nameEnd = std::find(nameStart, map.end(), '.');
    return std::string(nameStart, nameEnd) + ".map";
}

} // namespace

RunOutputs RunOutputs::of(const std::vector<std::string>& arguments, const std::string& workingFolder)
{
    RunOutputs outputs{Mode::None, std::nullopt, std::nullopt, workingFolder,
                       inFolder(workingFolder, "bspc.log")};
    // The compiler acts on the last mode it is given.
    const auto last = std::find_if(arguments.rbegin(), arguments.rend(), [](const std::string& a) {
                          return modeOf(a).has_value();
                      }).base();
    // It takes no file that starts like a switch.
    if (last == arguments.begin() || last == arguments.end() || last->starts_with('-')) {
        return outputs;
    }
    const std::string& file = *last;
    outputs.mode = *modeOf(*(last - 1));
    if (outputs.mode == Mode::Bsp2Map) {
        // The .map goes into the working folder whatever its name looks like.
        outputs.modeFile = inFolder(workingFolder, mapFileOf(file));
    } else {
        outputs.modeFile = resolved(workingFolder, withExtension(file, "aas"));
        outputs.mapFile = resolved(workingFolder, withExtension(file, "bsp"));
    }
    return outputs;
}
