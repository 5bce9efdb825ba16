#pragma once

#include "console_request.h"

#include <chrono>
#include <string>

// Hands a run to the console host, fully detached: the host is not this process's child, runs in a
// session of its own, and outlives this process. The host says on an inherited socket whether the
// program started; the answer is awaited for `patience` at most, so a host slow to start never holds
// up the caller. Silence for that long counts as a start.
class ConsoleStart {
public:
    enum class Result {
        Started,
        ProgramFailed,  // the host could not execute the program, and no console is left behind
        HostUnavailable // the host did not run, or had no terminal to offer: nothing was started
    };

    // The descriptor the host finds its report socket on.
    static constexpr int kReportDescriptor = 3;

    static Result run(const std::string& host, ConsoleRequest request, std::chrono::milliseconds patience);
};
