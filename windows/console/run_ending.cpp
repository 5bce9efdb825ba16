#include "run_ending.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <utility>

namespace {

// The exception codes a crashing program ends with: Windows' own NTSTATUS values, and the code a
// C++ runtime raises for an exception nothing caught.
constexpr std::array<std::pair<std::uint32_t, std::string_view>, 26> kExceptions{{
    {0x80000001, "guard page violation"},
    {0x80000002, "datatype misalignment"},
    {0x80000003, "breakpoint"},
    {0x80000004, "single step"},
    {0xC0000005, "access violation"},
    {0xC0000006, "in-page error"},
    {0xC0000008, "invalid handle"},
    {0xC000001D, "illegal instruction"},
    {0xC0000025, "noncontinuable exception"},
    {0xC0000026, "invalid disposition"},
    {0xC000008C, "array bounds exceeded"},
    {0xC000008D, "float denormal operand"},
    {0xC000008E, "float divide by zero"},
    {0xC000008F, "float inexact result"},
    {0xC0000090, "float invalid operation"},
    {0xC0000091, "float overflow"},
    {0xC0000092, "float stack check"},
    {0xC0000093, "float underflow"},
    {0xC0000094, "integer divide by zero"},
    {0xC0000095, "integer overflow"},
    {0xC0000096, "privileged instruction"},
    {0xC00000FD, "stack overflow"},
    {0xC000013A, "Ctrl+C"},
    {0xC0000374, "heap corruption"},
    {0xC0000409, "stack buffer overrun"},
    {0xE06D7363, "C++ exception"},
}};

// The console's colour bits, as wincon.h gives them.
constexpr std::uint16_t kBlue = 0x1;
constexpr std::uint16_t kGreen = 0x2;
constexpr std::uint16_t kRed = 0x4;
constexpr std::uint16_t kBright = 0x8;
constexpr std::uint16_t kHue = kBlue | kGreen | kRed;
constexpr std::uint16_t kForeground = kHue | kBright;

constexpr std::uint32_t kSeverityMask = 0xC0000000;
constexpr std::uint32_t kErrorSeverity = 0xC0000000;
constexpr std::uint32_t kCustomerBit = 0x20000000;

std::string hex(std::uint32_t code)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
    return text;
}

} // namespace

RunExit runExitOf(std::uint32_t exitCode)
{
    const auto known = std::find_if(kExceptions.begin(), kExceptions.end(),
                                    [&](const auto& entry) { return entry.first == exitCode; });
    if (known != kExceptions.end()) {
        return {"Ended by exception " + hex(exitCode) + " (" + std::string(known->second) + ")", false};
    }
    if ((exitCode & kSeverityMask) == kErrorSeverity && (exitCode & kCustomerBit) == 0) {
        return {"Ended by exception " + hex(exitCode), false};
    }
    const auto status = static_cast<std::int32_t>(exitCode);
    return {"Finished with exit status " + std::to_string(status), exitCode == 0};
}

std::uint16_t endingAttributes(std::uint16_t current, EndingTone tone)
{
    const std::uint16_t colour = tone == EndingTone::Good      ? kGreen
                                 : tone == EndingTone::Warning ? kRed | kGreen
                                                               : kRed;
    const std::uint16_t background = (current >> 4) & kForeground;
    const bool light = (background & kBright) != 0 || background == kHue;
    const std::uint16_t shade = (background & kHue) == colour ? current & kHue : colour;
    return std::uint16_t((current & ~kForeground) | (light ? shade : shade | kBright));
}
