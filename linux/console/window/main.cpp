#include "window_stage.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> list(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::optional<WindowStageRequest> request = WindowStageRequest::fromArguments(list);
    if (!request || argc < 1) {
        std::fprintf(stderr, "%.*s\n", int(kWindowStageUsage.size()), kWindowStageUsage.data());
        return 2;
    }
    return runWindowStage(*request, argv[0]);
}
