#pragma once

#include "console_request.h"

// The console host's whole run: starts the program on a pseudo-terminal before anything else,
// reports on the request's socket whether it started, then shows its output in a window, minimized,
// until the user closes it. Without a display the program still runs to its end, its output going
// to standard output. Returns the host's exit status.
int runConsoleHost(const ConsoleRequest& request, char* programName);
