#include "console_starter.h"

#include <climits>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// This program's own file, whatever name it was started by.
std::string ownPath(const char* startedAs)
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && std::size_t(length) < sizeof path ? std::string(path, std::size_t(length))
                                                           : std::string(startedAs);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> list(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::optional<HostRequest> request = HostRequest::fromArguments(list);
    if (!request || argc < 1) {
        std::fprintf(stderr, "%.*s\n", int(kHostUsage.size()), kHostUsage.data());
        return 2;
    }
    return runConsoleStarter(*request, windowStageBeside(ownPath(argv[0])));
}
