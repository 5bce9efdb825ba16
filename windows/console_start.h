#pragma once

#include "host_request.h"
#include "start_report.h"

#include <chrono>
#include <string>

// Hands a run to the console host in a console of its own, minimized, given the focus and titled
// with the shown line, as the compiler itself was once started. The host inherits the client end
// of a report pipe and nothing else, and says on it whether the compiler started; the answer is
// awaited for `patience` at most, so a host slow to start never holds up the caller. Silence for
// that long counts as a start.
ConsoleStartResult startInConsole(const std::wstring& host, HostRequest request,
                                  std::chrono::milliseconds patience);
