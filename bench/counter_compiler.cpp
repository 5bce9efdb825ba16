// A stand-in compiler that writes about 20 MB of progress as the compiler does: counters redrawn in
// place with "\r%6d", and a line now and then. At its end it appends its own wall time, and its
// parent's peak resident memory, to the file named by its first argument.
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

double nowSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

std::string parentPeakResident()
{
    std::ifstream status("/proc/" + std::to_string(getppid()) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return line.substr(6);
        }
    }
    return "?";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return 2;
    }
    const double start = nowSeconds();
    constexpr long kBytes = 20L * 1000 * 1000;
    long written = 0;
    for (int area = 0; written < kBytes; ++area) {
        written += std::printf("processing area %d\n", area);
        for (int count = 0; count < 2000; ++count) {
            written += std::printf("\r%6d", count);
        }
        written += std::printf("\n");
    }
    std::fflush(stdout);
    std::ofstream(argv[1], std::ios::app) << nowSeconds() - start << ' ' << parentPeakResident() << '\n';
    return 0;
}
