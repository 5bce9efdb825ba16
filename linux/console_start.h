#pragma once

#include "host_request.h"
#include "start_report.h"

#include <chrono>
#include <string>

// The descriptor the host finds its report socket on.
inline constexpr int kConsoleReportDescriptor = 3;

// Hands a run to the console host, started with posix_spawn in a session of its own so that it
// outlives this process and no terminal signal of ours reaches it; it is reaped from the event
// loop once it ends. The host says on an inherited socket whether the program started; the answer
// is awaited for `patience` at most, so a host slow to start never holds up the caller. Silence for
// that long counts as a start.
ConsoleStartResult startInConsole(const std::string& host, HostRequest request,
                                  std::chrono::milliseconds patience);
