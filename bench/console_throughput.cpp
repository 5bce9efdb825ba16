// A stand-in compiler writes about 20 MB of counters, then of lines, through each sink in turn,
// interleaved round by round so that drift cancels: the console host (its window on the X display),
// a bare pseudo-terminal relay, urxvt and st where installed, and /dev/null. The stand-in times
// itself and reads its parent's peak resident memory at its end.
//   console_throughput HOST COMPILER [RUNS]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
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

struct Sink {
    std::string name;
    // The command that runs the stand-in, given its own command line.
    std::vector<std::string> (*command)(const std::vector<std::string>& compiler, const std::string& host);
};

std::string joined(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words) {
        line += (line.empty() ? "" : " ") + word;
    }
    return line;
}

const std::vector<Sink> kSinks{
    {"console",
     [](const auto& compiler, const std::string& host) {
         std::vector<std::string> command{host, "-", "throughput"};
         command.insert(command.end(), compiler.begin(), compiler.end());
         return command;
     }},
    {"pty relay (script)",
     [](const auto& compiler, const std::string&) {
         return std::vector<std::string>{"/usr/bin/script", "-qfec", joined(compiler), "/dev/null"};
     }},
    {"urxvt",
     [](const auto& compiler, const std::string&) {
         std::vector<std::string> command{"/usr/bin/urxvt", "-e"};
         command.insert(command.end(), compiler.begin(), compiler.end());
         return command;
     }},
    {"st",
     [](const auto& compiler, const std::string&) {
         std::vector<std::string> command{"/usr/bin/st", "-e"};
         command.insert(command.end(), compiler.begin(), compiler.end());
         return command;
     }},
    {"/dev/null", [](const auto& compiler, const std::string&) { return compiler; }},
};

bool installed(const std::string& program)
{
    struct stat file {};
    return ::stat(program.c_str(), &file) == 0 && (file.st_mode & S_IXUSR) != 0;
}

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

pid_t spawn(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
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
    std::vector<Sink> sinks;
    for (const Sink& sink : kSinks) {
        if (sink.name == "/dev/null" || installed(sink.command({"stand-in"}, host).front())) {
            sinks.push_back(sink);
        }
    }
    for (const std::string workload : {"counters", "lines"}) {
        std::map<std::string, std::vector<double>> seconds;
        std::map<std::string, std::string> peaks;
        for (int run = 0; run < runs; ++run) {
            for (const Sink& sink : sinks) {
                const pid_t pid = spawn(sink.command({compiler, record, workload}, host));
                const Result result = awaitRecord(record);
                seconds[sink.name].push_back(result.seconds);
                peaks[sink.name] = result.peak;
                // The console stays open once its run ends; the others end with it.
                if (sink.name == "console") {
                    kill(pid, SIGTERM);
                }
                waitpid(pid, nullptr, 0);
            }
        }
        const double null = median(seconds["/dev/null"]);
        const double relay = median(seconds["pty relay (script)"]);
        std::printf("-- 20 MB of %s, %d runs each: median wall time of the stand-in\n", workload.c_str(),
                    runs);
        for (const Sink& sink : sinks) {
            const std::vector<double>& times = seconds[sink.name];
            std::printf("%-20s %7.3f s (%.3f-%.3f)  x%6.2f /dev/null  x%5.2f relay  peak of its parent:%s\n",
                        sink.name.c_str(), median(times), *std::min_element(times.begin(), times.end()),
                        *std::max_element(times.begin(), times.end()), median(times) / null,
                        median(times) / relay, peaks[sink.name].c_str());
        }
    }
    return 0;
}
