#include "host_request.h"

#include "argument_quoting.h"

#include <array>
#include <limits>

namespace {

constexpr std::wstring_view kNoReport = L"-";

std::optional<std::uintptr_t> handleFrom(std::wstring_view digits)
{
    std::uintptr_t value = 0;
    constexpr std::uintptr_t kLimit = std::numeric_limits<std::uintptr_t>::max() / 10;
    for (const wchar_t digit : digits) {
        if (digit < L'0' || digit > L'9' || value > kLimit) {
            return std::nullopt;
        }
        value = value * 10 + std::uintptr_t(digit - L'0');
    }
    return digits.empty() ? std::nullopt : std::optional(value);
}

} // namespace

// The host's own path is read by the program-name rules, which take no escapes: it is quoted
// whole, as no Windows path holds a quote.
std::wstring HostRequest::toCommandLine(std::wstring_view host) const
{
    std::wstring line = L"\"" + std::wstring(host) + L"\" ";
    line += reportHandle ? std::to_wstring(*reportHandle) : std::wstring(kNoReport);
    for (const std::wstring* argument : {&workingFolder, &compiler}) {
        line += L' ' + quotedArgument(*argument);
    }
    return line + L' ' + commandLine;
}

std::optional<HostRequest> HostRequest::fromCommandLine(std::wstring_view line)
{
    std::wstring_view rest = afterProgramName(line);
    std::array<std::wstring, 3> leading;
    for (std::wstring& argument : leading) {
        std::optional<std::wstring> taken = takeArgument(rest);
        if (!taken) {
            return std::nullopt;
        }
        argument = std::move(*taken);
    }
    if (rest.size() < 2 || rest.front() != L' ') {
        return std::nullopt;
    }
    rest.remove_prefix(1);
    HostRequest request{std::nullopt, leading[1], leading[2], std::wstring(rest)};
    if (leading[0] != kNoReport) {
        request.reportHandle = handleFrom(leading[0]);
        if (!request.reportHandle) {
            return std::nullopt;
        }
    }
    return request;
}
