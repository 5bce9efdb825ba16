#include "console_host.h"
#include "system_function.h"

#include <cstdio>

// The whole command line is read here, not the split arguments: the compiler's line at its end is
// passed on as it stands.
int wmain(int, wchar_t**)
{
    loadLibrariesFromSystemOnly();
    const std::optional<HostRequest> request = HostRequest::fromCommandLine(GetCommandLineW());
    if (!request) {
        std::fwprintf(stderr, L"%ls\n", kHostUsage.data());
        return 2;
    }
    return ConsoleHost(*request).run();
}
