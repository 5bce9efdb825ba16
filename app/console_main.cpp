#include "console_host.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> list(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::optional<ConsoleRequest> request = ConsoleRequest::fromArguments(list);
    if (!request || argc < 1) {
        std::fprintf(stderr, "%.*s\n", int(kConsoleUsage.size()), kConsoleUsage.data());
        return 2;
    }
    return runConsoleHost(*request, argv[0]);
}
