#include "run_ending.h"

#include <cstring> // sigabbrev_np
#include <sys/wait.h>

RunExit runExitOf(int waitStatus)
{
    if (WIFSIGNALED(waitStatus)) {
        const int signal = WTERMSIG(waitStatus);
        const char* abbreviation = sigabbrev_np(signal);
        const std::string name = abbreviation ? std::string("SIG") + abbreviation : "unknown";
        return {"Ended by signal " + std::to_string(signal) + " (" + name + ")", false};
    }
    const int status = WEXITSTATUS(waitStatus);
    return {"Finished with exit status " + std::to_string(status), status == 0};
}
