#pragma once

#include "run_report.h"

#include <cstdint>

// How the compiler ended, from its exit code: "Finished with exit status 1", or for the status
// Windows gives a process that an exception ended, "Ended by exception 0xC0000005 (access
// violation)". Codes of error severity outside Windows' own table show their number alone;
// other codes past 0x7FFFFFFF are negative statuses, shown as cmd's %ERRORLEVEL% shows them.
RunExit runExitOf(std::uint32_t exitCode);

// The console attributes the ending line is written in: bright text in the ending's colour (green,
// yellow or red) over the console's own background; the darker shade on a light background, and
// the console's own text colour, brightened, where the background has the ending's colour.
std::uint16_t endingAttributes(std::uint16_t current, EndingTone tone);
