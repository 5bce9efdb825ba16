#pragma once

#include "window_stage_request.h"

// The console host's second stage, with Qt: shows the run its starter began in a window, started
// minimized, until the user closes it; or shows a start failure that the front end could not be
// told of. Without a display the output, or the failure, goes to standard output or error.
// Returns the process's exit status.
int runWindowStage(const WindowStageRequest& request, char* programName);
