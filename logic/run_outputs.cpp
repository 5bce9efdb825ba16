#include "run_outputs.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 3> kAasModes{"-bsp2aas", "-reach", "-aasopt"};
constexpr std::string_view kMapMode = "-bsp2map";

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

std::string inFolder(const std::string& folder, const std::string& name)
{
    const char separator = folder.starts_with('/') ? '/' : '\\';
    const bool endsInSeparator = !folder.empty() && isSeparator(folder.back());
    return endsInSeparator ? folder + name : folder + separator + name;
}

std::string resolved(const std::string& folder, const std::string& path)
{
    return isAbsolute(path) ? path : inFolder(folder, path);
}

// With no '.' anywhere the compiler is left with "aas" alone, in its working folder.
std::string aasBeside(const std::string& map)
{
    const std::size_t dot = map.rfind('.');
    return (dot == std::string::npos ? std::string() : map.substr(0, dot + 1)) + "aas";
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
    RunOutputs outputs{std::nullopt, workingFolder, inFolder(workingFolder, "bspc.log")};
    // The compiler acts on the last mode it is given.
    const auto isMode = [](const std::string& argument) {
        return sameSwitch(argument, kMapMode) ||
               std::any_of(kAasModes.begin(), kAasModes.end(),
                           [&](std::string_view mode) { return sameSwitch(argument, mode); });
    };
    const auto last = std::find_if(arguments.rbegin(), arguments.rend(), isMode).base();
    // It takes no file that starts like a switch.
    if (last == arguments.begin() || last == arguments.end() || last->starts_with('-')) {
        return outputs;
    }
    const std::string& map = *last;
    const bool writesMap = sameSwitch(*(last - 1), kMapMode);
    // The .map goes into the working folder whatever its name looks like.
    outputs.modeFile =
        writesMap ? inFolder(workingFolder, mapFileOf(map)) : resolved(workingFolder, aasBeside(map));
    return outputs;
}
