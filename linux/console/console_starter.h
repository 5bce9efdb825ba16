#pragma once

#include "host_request.h"

#include <string>

// The console host's first stage, free of any toolkit so that it starts as fast as a bare process:
// starts the program on a pseudo-terminal, reports on the request's socket whether it started, and
// then becomes the window stage at `windowStage` by exec, handing it the terminal and the program,
// which stays this process's child. A failure the front end did not hear of goes to the window
// stage too, so that it is never lost. Returns only when the window stage cannot be executed:
// the output, or the failure, then goes to standard output or error.
int runConsoleStarter(const HostRequest& request, const std::string& windowStage);

// The window stage installed beside this program.
std::string windowStageBeside(const std::string& starter);
