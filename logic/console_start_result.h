#pragma once

#include "program_launcher.h"

#include <string>

// How a run handed to a platform's console host began.
enum class ConsoleStartResult {
    Started,
    ProgramFailed,  // the host could not start the program, and knows the caller was told
    HostUnavailable // the host did not start, or ended without a word: nothing was started
};

// True when the host started the program; the launch error when it could not; false when there
// was no host to be had, for the caller to start the program itself, as a run is never lost for
// want of a console.
inline bool startedInConsole(ConsoleStartResult result, const std::string& program)
{
    if (result == ConsoleStartResult::ProgramFailed) {
        throw LaunchError::notStarted(program);
    }
    return result == ConsoleStartResult::Started;
}
