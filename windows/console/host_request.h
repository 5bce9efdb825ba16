#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the console host is asked to run, and the command line that asks it. Both directions live
// here so that the front end and the host can never disagree on the form:
//   "HOST" REPORT-HANDLE|- WORKING-FOLDER COMPILER COMPILER-COMMAND-LINE
// The first three arguments are quoted as every Windows parser reads them; the compiler's command
// line follows after one blank and is taken as it stands, to the end, so that it reaches the
// compiler character for character, never split and quoted again. The console's title, the line as
// shown to the user, travels as the new console's own (STARTUPINFO's lpTitle), not here.
struct HostRequest {
    // An inherited pipe on which the host says whether it started the compiler.
    std::optional<std::uintptr_t> reportHandle;
    std::wstring workingFolder; // the compiler's
    std::wstring compiler;      // an absolute path: the host never searches for it
    std::wstring commandLine;   // the compiler's own, as it is to read it

    std::wstring toCommandLine(std::wstring_view host) const;
    // Nothing when the line breaks the form above.
    static std::optional<HostRequest> fromCommandLine(std::wstring_view line);

    bool operator==(const HostRequest&) const = default;
};

inline constexpr std::wstring_view kHostUsage =
    L"usage: tarnwick-console REPORT-HANDLE|- WORKING-FOLDER COMPILER COMPILER-COMMAND-LINE";
