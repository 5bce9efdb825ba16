#pragma once

#include "run_report.h"

// How a program ended, from its wait status: "Finished with exit status N", clean when N is 0, or
// "Ended by signal N (NAME)".
RunExit runExitOf(int waitStatus);
