#pragma once

#include <string>

// The last line of a console: how the program ended, from its wait status.
//   "Finished with exit status N."  or  "Ended by signal N (NAME)."
std::string describeRunEnding(int waitStatus);
