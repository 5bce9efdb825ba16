#pragma once

#include <string>

// The last line of a console: how the program ended, from its wait status.
//   "Finished with exit status N."  or  "Ended by signal N (NAME)."
std::string describeRunEnding(int waitStatus);

// The line a console shows when its program could not be started at all.
//   "Could not start PROGRAM: REASON."  or  "Could not set up a terminal for PROGRAM: REASON."
std::string describeStartFailure(const std::string& program, int error, bool inSetUp);
