// A stand-in compiler that writes about 20 MB of progress as the compiler does, in one of two
// workloads: "counters" redraws "\r%6d" in place with a line now and then, as the compiler's
// progress output does; "lines" writes nothing but whole lines. At its end it appends its own wall
// time, its parent's CPU time so far and its parent's peak resident memory, to the file named by
// its first argument:
//   counter_compiler RECORD [counters|lines]
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

constexpr long kBytes = 20L * 1000 * 1000;

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

// User and system time of all the parent's threads; a sink's own work, as its child still runs.
double parentCpuSeconds()
{
    std::ifstream file("/proc/" + std::to_string(getppid()) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fields after the command name, which may hold blanks, start with the state (field 3).
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string field;
    for (int skipped = 3; skipped < 14 && fields >> field; ++skipped) {
    }
    double user = 0;
    double system = 0;
    fields >> user >> system;
    return (user + system) / double(sysconf(_SC_CLK_TCK));
}

void writeCounters()
{
    long written = 0;
    for (int area = 0; written < kBytes; ++area) {
        written += std::printf("processing area %d\n", area);
        for (int count = 0; count < 2000; ++count) {
            written += std::printf("\r%6d", count);
        }
        written += std::printf("\n");
    }
}

void writeLines()
{
    long written = 0;
    for (int line = 0; written < kBytes; ++line) {
        written +=
            std::printf("area %7d: %4d brushes merged, %5d faces kept\n", line, line % 977, line % 30011);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return 2;
    }
    const double start = nowSeconds();
    argc > 2 && std::string(argv[2]) == "lines" ? writeLines() : writeCounters();
    std::fflush(stdout);
    const double seconds = nowSeconds() - start;
    std::ofstream(argv[1], std::ios::app)
        << seconds << ' ' << parentCpuSeconds() << ' ' << parentPeakResident() << '\n';
    return 0;
}
