#pragma once

#include "run_report.h"

#include <string>

// How a program ended, from its wait status: "Finished with exit status N", clean when N is 0, or
// "Ended by signal N (NAME)".
RunExit runExitOf(int waitStatus);

// The line a console shows when its program could not be started at all.
//   "Could not start PROGRAM: REASON."  or  "Could not set up a terminal for PROGRAM: REASON."
std::string describeStartFailure(const std::string& program, int error, bool inSetUp);
