// A stand-in compiler that, first thing, writes the monotonic time it started at, and its parent's
// pid, into $STAMP_DIR/stamp.<pid>.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

int main()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* directory = std::getenv("STAMP_DIR");
    if (directory == nullptr) {
        return 2;
    }
    char path[4096];
    std::snprintf(path, sizeof path, "%s/stamp.%d", directory, int(getpid()));
    if (FILE* out = std::fopen(path, "w")) {
        std::fprintf(out, "%lld %d\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                     int(getppid()));
        std::fclose(out);
    }
    return 0;
}
