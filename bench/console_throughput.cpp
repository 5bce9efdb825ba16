// A stand-in compiler writes about 20 MB of counters, then of lines, through each sink in turn,
// interleaved round by round so that drift cancels: the console host (its window on the X display)
// both minimized, as it starts, and shown, a bare pseudo-terminal relay, urxvt and st where
// installed, and /dev/null. The stand-in times itself and at its end reads its parent's CPU time
// and peak resident memory, the sink's own. A second host, say a build of the previous commit, can be
// measured beside the first.
//   console_throughput HOST COMPILER [RUNS [BASELINE_HOST]]
// The display needs a window manager, as a desktop has: without one a window asked to start
// minimized stays in view. The shown console is restored as a task bar does, through the window
// manager, once its window is managed.
// With --ending, the time from the start of a run that writes an .aas to its ending line, relayed
// without a display, with the map beside it read for the verdict and with no map there to read,
// interleaved: what the verdict adds to the ending line.
//   console_throughput --ending HOST MAP.bsp [RUNS]
#include "map_checksum.h"
#include "system_file_access.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

struct Result {
    double seconds = 0;
    double cpuSeconds = 0;
    std::string peak;
};

struct Sink {
    enum class Kind { Console, Relay, Terminal, Null };
    std::string name;
    Kind kind;
    std::string program;
    bool restored = false;
};

std::string joined(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words) {
        line += (line.empty() ? "" : " ") + word;
    }
    return line;
}

// The command that runs the stand-in, given its own command line, through the sink.
std::vector<std::string> commandThrough(const Sink& sink, const std::vector<std::string>& compiler)
{
    std::vector<std::string> command;
    switch (sink.kind) {
    case Sink::Kind::Console:
        command = {sink.program, "-", "throughput"};
        break;
    case Sink::Kind::Relay:
        return {sink.program, "-qfec", joined(compiler), "/dev/null"};
    case Sink::Kind::Terminal:
        command = {sink.program, "-e"};
        break;
    case Sink::Kind::Null:
        break;
    }
    command.insert(command.end(), compiler.begin(), compiler.end());
    return command;
}

bool installed(const std::string& program)
{
    struct stat file {};
    return ::stat(program.c_str(), &file) == 0 && (file.st_mode & S_IXUSR) != 0;
}

std::vector<Sink> sinksToMeasure(const std::string& host, const std::string& baseline)
{
    std::vector<Sink> all{
        {"console, minimized", Sink::Kind::Console, host},
        {"console, shown", Sink::Kind::Console, host, true},
        {"baseline, minimized", Sink::Kind::Console, baseline},
        {"baseline, shown", Sink::Kind::Console, baseline, true},
        {"pty relay (script)", Sink::Kind::Relay, "/usr/bin/script"},
        {"urxvt", Sink::Kind::Terminal, "/usr/bin/urxvt"},
        {"st", Sink::Kind::Terminal, "/usr/bin/st"},
        {"/dev/null", Sink::Kind::Null, ""},
    };
    std::vector<Sink> sinks;
    std::copy_if(all.begin(), all.end(), std::back_inserter(sinks), [](const Sink& sink) {
        return sink.kind == Sink::Kind::Null || (!sink.program.empty() && installed(sink.program));
    });
    return sinks;
}

// What a task bar does with the display's window manager: find a program's window and restore it.
class TaskBar {
public:
    TaskBar()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection)) {
            return;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_clientList = atom("_NET_CLIENT_LIST");
        m_pid = atom("_NET_WM_PID");
        m_activeWindow = atom("_NET_ACTIVE_WINDOW");
        m_wmState = atom("WM_STATE");
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_working = !values(m_root, atom("_NET_SUPPORTING_WM_CHECK")).empty();
    }
    ~TaskBar() { xcb_disconnect(m_connection); }
    TaskBar(const TaskBar&) = delete;
    TaskBar& operator=(const TaskBar&) = delete;

    // Whether the display has a window manager to ask.
    bool working() const { return m_working; }

    // Waits for the window of process `pid` to be managed, asks for it to be activated as a task bar
    // does, which restores a minimized window, and waits until it is in its normal state.
    bool restore(pid_t pid)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        xcb_window_t window = windowOf(pid);
        while (window == XCB_NONE && awaitEvent(deadline)) {
            window = windowOf(pid);
        }
        if (window == XCB_NONE) {
            return false;
        }
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_activeWindow;
        message.data.data32[0] = 2; // from a pager or task bar, which the window manager obeys
        xcb_send_event(m_connection, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        bool normal = isNormal(window);
        while (!normal && awaitEvent(deadline)) {
            normal = isNormal(window);
        }
        return normal;
    }

private:
    static constexpr uint32_t kNormalState = 1;

    xcb_atom_t atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
        free(reply);
        return value;
    }

    // A property's 32-bit values, as windows, process ids or states.
    std::vector<uint32_t> values(xcb_window_t window, xcb_atom_t property)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr);
        std::vector<uint32_t> result;
        if (reply && reply->format == 32) {
            const auto* begin = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            result.assign(begin, begin + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
        return result;
    }

    xcb_window_t windowOf(pid_t pid)
    {
        for (const uint32_t window : values(m_root, m_clientList)) {
            const std::vector<uint32_t> owner = values(window, m_pid);
            if (!owner.empty() && owner.front() == uint32_t(pid)) {
                return window;
            }
        }
        return XCB_NONE;
    }

    bool isNormal(xcb_window_t window)
    {
        const std::vector<uint32_t> state = values(window, m_wmState);
        return !state.empty() && state.front() == kNormalState;
    }

    // Waits for the next event (any change of a watched property), or for the deadline.
    bool awaitEvent(std::chrono::steady_clock::time_point deadline)
    {
        xcb_flush(m_connection);
        for (;;) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                free(event);
                return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd display{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&display, 1, int(left.count())) <= 0) {
                return false;
            }
        }
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_clientList = XCB_NONE;
    xcb_atom_t m_pid = XCB_NONE;
    xcb_atom_t m_activeWindow = XCB_NONE;
    xcb_atom_t m_wmState = XCB_NONE;
    bool m_working = false;
};

// Waits for the stand-in's line in `record`, then removes the file.
Result awaitRecord(const std::string& record)
{
    for (;;) {
        std::ifstream in(record);
        Result result;
        if (in >> result.seconds >> result.cpuSeconds && std::getline(in, result.peak)) {
            std::remove(record.c_str());
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// With its standard output on `output`, or on /dev/null.
pid_t spawn(std::vector<std::string> arguments, int output = -1)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output < 0) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
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

struct Measure {
    std::map<std::string, std::vector<double>> seconds;
    std::map<std::string, std::vector<double>> cpuSeconds;
    std::map<std::string, std::string> peaks;
};

// One run of the stand-in through one sink; false when a console could not be restored.
bool measureOnce(const Sink& sink, const std::vector<std::string>& compiler, const std::string& record,
                 TaskBar& taskBar, Measure& measure)
{
    const pid_t pid = spawn(commandThrough(sink, compiler));
    const bool restored = !sink.restored || taskBar.restore(pid);
    const Result result = awaitRecord(record);
    measure.seconds[sink.name].push_back(result.seconds);
    measure.cpuSeconds[sink.name].push_back(result.cpuSeconds);
    measure.peaks[sink.name] = result.peak;
    // The console stays open once its run ends; the others end with it.
    if (sink.kind == Sink::Kind::Console) {
        kill(pid, SIGTERM);
    }
    waitpid(pid, nullptr, 0);
    return restored;
}

void print(const std::vector<Sink>& sinks, const Measure& measure)
{
    const double null = median(measure.seconds.at("/dev/null"));
    const double relay = median(measure.seconds.at("pty relay (script)"));
    // The sink's CPU time and peak are its parent's, the stand-in's; /dev/null has none of its own.
    for (const Sink& sink : sinks) {
        const std::vector<double>& times = measure.seconds.at(sink.name);
        std::printf("%-20s %7.3f s (%.3f-%.3f)  x%6.2f /dev/null  x%5.2f relay", sink.name.c_str(),
                    median(times), *std::min_element(times.begin(), times.end()),
                    *std::max_element(times.begin(), times.end()), median(times) / null,
                    median(times) / relay);
        if (sink.kind != Sink::Kind::Null) {
            std::printf("  its CPU %6.3f s  its peak:%s", median(measure.cpuSeconds.at(sink.name)),
                        measure.peaks.at(sink.name).c_str());
        }
        std::printf("\n");
    }
}

// An .aas header the game would take for the map, with no lumps, and room after it: what the
// verdict reads of the file is the same for any .aas.
void writeAas(const std::string& path, std::uint32_t mapChecksum)
{
    std::ofstream aas(path, std::ios::binary);
    aas.write("EAAS\4\0\0\0", 8);
    for (int shift = 0; shift < 32; shift += 8) {
        aas.put(char(mapChecksum >> shift));
    }
    aas << std::string(7600 - 12, '\0');
}

struct Ending {
    double seconds = 0;
    std::string line;
};

// Runs the host without a display and a stand-in that copies `made` to the .aas of `map`: the time
// from the start until the ending line has come, and that line.
Ending endingOnce(const std::string& host, const std::string& map, const std::string& made)
{
    int output[2];
    if (::pipe(output) != 0) {
        return {};
    }
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = spawn(
        {host, "-", "ending", "/bin/sh", "-c", "cp \"$3\" \"${2%.*}.aas\"", "sh", "-bsp2aas", map, made},
        output[1]);
    ::close(output[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got = 0; (got = ::read(output[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, std::size_t(got));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ::close(output[0]);
    waitpid(pid, nullptr, 0);
    text.erase(text.find_last_not_of('\n') + 1);
    return {seconds, text.substr(text.rfind('\n') + 1)};
}

int measureEnding(const std::string& host, const std::string& map, int runs)
{
    char folder[] = "/tmp/console_ending.XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        return 1;
    }
    const std::string beside = std::string(folder) + "/map.bsp";
    const std::string made = std::string(folder) + "/made.aas";
    {
        std::ifstream in(map, std::ios::binary);
        std::ofstream(beside, std::ios::binary) << in.rdbuf();
    }
    writeAas(made, mapChecksumOf(SystemFileAccess(), beside).value_or(0));
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<double> withMap;
    std::vector<double> without;
    Ending last[2];
    for (int run = 0; run < 2 * runs; ++run) {
        const bool read = run % 2 == 0;
        last[read] = endingOnce(host, read ? beside : std::string(folder) + "/none.bsp", made);
        (read ? withMap : without).push_back(last[read].seconds);
    }
    std::printf("-- the ending line of a run that writes an .aas, %d runs each: median time from the start\n",
                runs);
    std::printf("the map read for the verdict (%s): %6.1f ms  %s\n", map.c_str(), median(withMap) * 1000,
                last[1].line.c_str());
    std::printf("no map to read:%*s %6.1f ms  %s\n", int(map.size()) + 17, "", median(without) * 1000,
                last[0].line.c_str());
    std::printf("the verdict adds %.1f ms\n", (median(withMap) - median(without)) * 1000);
    std::filesystem::remove_all(folder);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::string_view(argv[1]) == "--ending") {
        return measureEnding(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 21);
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: console_throughput HOST COMPILER [RUNS [BASELINE_HOST]]\n");
        return 2;
    }
    const std::string compiler = argv[2];
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    const std::string record = "/tmp/console_throughput." + std::to_string(getpid());
    const std::vector<Sink> sinks = sinksToMeasure(argv[1], argc > 4 ? argv[4] : "");
    TaskBar taskBar;
    if (!taskBar.working()) {
        std::fprintf(stderr, "console_throughput: the display has no window manager to minimize the console "
                             "(bench/run starts openbox)\n");
        return 1;
    }
    for (const std::string workload : {"counters", "lines"}) {
        Measure measure;
        for (int run = 0; run < runs; ++run) {
            for (const Sink& sink : sinks) {
                if (!measureOnce(sink, {compiler, record, workload}, record, taskBar, measure)) {
                    std::fprintf(stderr, "console_throughput: the window manager did not restore %s\n",
                                 sink.name.c_str());
                    return 1;
                }
            }
        }
        std::printf("-- 20 MB of %s, %d runs each: median wall time of the stand-in\n", workload.c_str(),
                    runs);
        print(sinks, measure);
    }
    return 0;
}
