// A stand-in compiler writes about 20 MB of counters and lines, once through the console host (its
// window on the X display) and once to /dev/null; prints the ratio of its wall times and the
// console's peak resident memory at the end: console_throughput HOST COMPILER [RUNS]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Result {
    double seconds = 0;
    std::string peak;
};

// Waits for the stand-in's line in `record`, then removes the file.
Result awaitRecord(const std::string& record)
{
    for (;;) {
        std::ifstream in(record);
        Result result;
        if (in >> result.seconds && std::getline(in, result.peak)) {
            std::remove(record.c_str());
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

pid_t spawn(std::vector<std::string> arguments, const char* output)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output, O_WRONLY, 0);
    }
    pid_t pid = 0;
    posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        return 2;
    }
    const std::string host = argv[1];
    const std::string compiler = argv[2];
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    const std::string record = "/tmp/console_throughput." + std::to_string(getpid());
    std::vector<double> console;
    std::vector<double> null;
    std::string peak;
    for (int run = 0; run < runs; ++run) {
        const pid_t consoleHost = spawn({host, "-", "throughput", compiler, record}, nullptr);
        const Result through = awaitRecord(record);
        console.push_back(through.seconds);
        peak = through.peak;
        kill(consoleHost, SIGTERM);
        waitpid(consoleHost, nullptr, 0);

        const pid_t direct = spawn({compiler, record}, "/dev/null");
        null.push_back(awaitRecord(record).seconds);
        waitpid(direct, nullptr, 0);
    }
    std::printf("through the console   median %7.3f s  (min %.3f, max %.3f, %d runs)\n", median(console),
                *std::min_element(console.begin(), console.end()),
                *std::max_element(console.begin(), console.end()), runs);
    std::printf("to /dev/null          median %7.3f s  (min %.3f, max %.3f)\n", median(null),
                *std::min_element(null.begin(), null.end()), *std::max_element(null.begin(), null.end()));
    std::printf("ratio of medians, console / null: %.2f\n", median(console) / median(null));
    std::printf("console's peak resident memory at the end:%s\n", peak.c_str());
    return 0;
}
