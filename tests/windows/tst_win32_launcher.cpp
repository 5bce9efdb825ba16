// The Windows launcher against stand-in compilers: hostile map paths arrive as one argument each
// for every parser a compiler may use, naming the chosen file, or nothing starts; the compiler gets
// a minimized console of its own titled with the line, and no handle; and only a real BSPC.exe,
// found where it should be, is ever started. Through the console host the compiler gets the same,
// in the host's console, which ends with a line on how the run ended and stays open; without a
// host, or with one that says nothing, the compiler starts directly. With --real, a press runs the
// real compiler on a map, directly and through the host, and on a file that is no map.
//   tst_win32_launcher STAND-IN.exe ANSI-STAND-IN.exe CONSOLE-HOST.exe INSPECTOR.exe
//   tst_win32_launcher --real BSPC.exe MAP.bsp CONSOLE-HOST.exe INSPECTOR.exe
#include "ansi_command_line.h"
#include "checks.h"
#include "command_line_composer.h"
#include "compile_request.h"
#include "fake_services.h"
#include "option_board.h"
#include "standin_record.h"
#include "win32_api.h"
#include "win32_launcher.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Record = std::multimap<std::string, std::string>;

// How long a started compiler may take to write its record: Wine starts a console with each one,
// which on a loaded machine takes seconds.
constexpr std::chrono::seconds kPatience{60};

constexpr char kUnnameable[] =
    "The path of this file holds characters that BSPC cannot be given on this system. Rename the "
    "file, or move it to a folder with a plain name, and try again.";
constexpr char kCannotStart[] = "BSPC.exe does not seem to be in the current Directory";

struct Place {
    fs::path root;
    fs::path work;
    fs::path records;
    fs::path standIn;
};

std::vector<std::string> all(const Record& record, const std::string& key)
{
    std::vector<std::string> values;
    for (auto [at, end] = record.equal_range(key); at != end; ++at) {
        values.push_back(at->second);
    }
    return values;
}

std::string one(const Record& record, const std::string& key)
{
    const auto found = record.find(key);
    return found != record.end() ? found->second : "(missing)";
}

Record readRecord(const fs::path& file)
{
    Record record;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        const std::size_t equals = line.find('=');
        record.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    return record;
}

// Waits for the next `count` records and takes them away. A record is taken only once it reads
// whole: under load, Wine has been seen to show a record's name before its lines could be read.
std::vector<Record> takeRecords(const Place& place, std::size_t count, std::chrono::seconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::vector<Record> records;
    while (records.size() < count && std::chrono::steady_clock::now() < deadline) {
        for (const auto& entry : fs::directory_iterator(place.records)) {
            if (entry.path().extension() != ".record") {
                continue;
            }
            Record record = readRecord(entry.path());
            std::error_code notYet;
            if (record.count("end") != 0 && fs::remove(entry.path(), notYet)) {
                records.push_back(std::move(record));
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(records.size() < count ? 20 : 0));
    }
    return records;
}

std::string utf8(const fs::path& path)
{
    return toUtf8(path.wstring());
}

// The console host, and the inspector that reads its console from outside.
struct Hosting {
    fs::path host;
    fs::path inspector;
};

// What the inspector prints, with bare line feeds. It inherits the pipe it prints into, and the
// test's inheritable handles too, which it never touches.
std::string inspect(const Hosting& hosting, const std::wstring& arguments)
{
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    CreatePipe(&reading, &writing, &inheritable, 0);
    SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writing;
    std::wstring line = L"\"" + hosting.inspector.wstring() + L"\" " + arguments;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(hosting.inspector.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &started)) {
        std::fprintf(stderr, "the inspector did not start: error %lu\n", GetLastError());
    }
    CloseHandle(writing);
    std::string text;
    char buffer[4096];
    for (DWORD got = 0; ReadFile(reading, buffer, sizeof buffer, &got, nullptr) && got > 0;) {
        text.append(buffer, got);
    }
    for (const HANDLE handle : {reading, started.hProcess, started.hThread}) {
        CloseHandle(handle);
    }
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::vector<DWORD> runningHosts(const Hosting& hosting)
{
    std::istringstream lines(inspect(hosting, L"hosts"));
    return {std::istream_iterator<DWORD>(lines), std::istream_iterator<DWORD>()};
}

// What `look` gives once `done` holds for it, or at the end of the patience.
template <typename Look, typename Done> auto awaitLook(Look look, Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    auto seen = look();
    while (!done(seen) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        seen = look();
    }
    return seen;
}

std::vector<DWORD> awaitHosts(const Hosting& hosting, std::size_t count)
{
    return awaitLook([&] { return runningHosts(hosting); },
                     [&](const auto& hosts) { return hosts.size() == count; });
}

// Hosts keep their consoles open until closed; each test closes those it opened.
void endHosts(const Hosting& hosting)
{
    for (const DWORD pid : runningHosts(hosting)) {
        const HANDLE host = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        TerminateProcess(host, 0);
        WaitForSingleObject(host, INFINITE);
        CloseHandle(host);
    }
}

bool isRunning(DWORD pid)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    const bool running = process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

// The host's console with its lines run together: the inspector cannot tell a line wrapped at a
// blank in the console's last column from one that ends there.
std::string consoleOf(const Hosting& hosting, DWORD host)
{
    std::string text = inspect(hosting, L"console " + std::to_wstring(host));
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// The line the host ends with, after a blank line, with the time taken, which no run can foretell,
// as "#"; empty while there is none.
std::string endingOf(const std::string& console)
{
    const std::regex ending(
        R"(  ((?:Finished with exit status|Ended by exception) .*? after ).+? s([.:,].*?) *$)");
    std::smatch found;
    return std::regex_search(console, found, ending) ? found.str(1) + "#" + found.str(2) : "";
}

std::string awaitEnding(const Hosting& hosting, DWORD host)
{
    return awaitLook([&] { return consoleOf(hosting, host); },
                     [](const auto& text) { return !endingOf(text).empty(); });
}

// The process in the record's console that is a console host, if any; awaited, as a process list
// under load may lag. Said when there is none, with what was seen, so that a run that goes wrong
// only now and then can be traced.
DWORD hostOf(const Hosting& hosting, const Record& record)
{
    const auto hostIn = [&](const std::vector<DWORD>& hosts) {
        for (const std::string& pid : all(record, "consoleProcess")) {
            if (std::find(hosts.begin(), hosts.end(), DWORD(std::stoul(pid))) != hosts.end()) {
                return DWORD(std::stoul(pid));
            }
        }
        return DWORD(0);
    };
    const std::vector<DWORD> hosts =
        awaitLook([&] { return runningHosts(hosting); }, [&](const auto& seen) { return hostIn(seen) != 0; });
    if (hostIn(hosts) == 0) {
        std::fprintf(stderr, "no console host among %zu in the compiler's console; %zu hosts running\n",
                     all(record, "consoleProcess").size(), hosts.size());
    }
    return hostIn(hosts);
}

// A launcher in the current directory, through the host when there is one.
Win32Launcher launcherFor(const Hosting* hosting)
{
    return hosting ? Win32Launcher(fs::current_path().wstring(), hosting->host.wstring(), kPatience)
                   : Win32Launcher(fs::current_path().wstring(), L"");
}

bool launchFails(const std::string& program = "BSPC")
{
    try {
        Win32Launcher().launch(program, {"-bsp2aas", "C:\\maps\\dm1.bsp"},
                               program + " -bsp2aas \"C:\\maps\\dm1.bsp\"");
        return false;
    } catch (const LaunchError&) {
        return true;
    }
}

struct PathRow {
    const char* name;
    std::string path;
    // Whether the compiler's ANSI command line can carry it; where not, nothing may start.
    bool survivesAnsi = true;
};

std::vector<PathRow> hostilePaths()
{
    return {
        {"blanks", "C:\\Quake3\\my maps\\dm 1.bsp"},
        {"ampersand", "C:\\maps\\a&b & echo owned.bsp"},
        {"percent", "C:\\maps\\%PATH%\\%CD%.bsp"},
        {"caret and bang", "C:\\maps\\a^b!c!^.bsp"},
        {"semicolon and comma", "C:\\maps\\a;b,c.bsp"},
        {"quote marks", "C:\\maps\\it's `here`.bsp"},
        {"dollar", "C:\\maps\\$(calc) $HOME.bsp"},
        {"brackets", "C:\\maps\\[*] (1) {2}.bsp"},
        {"Western letters", "C:\\maps\\\xc3\xa9t\xc3\xa9 \xc3\xa0 moi.bsp"},
        {"letters outside the code page",
         "C:\\maps\\\xc3\xa9t\xc3\xa9 \xd0\x96 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x97\xba.bsp", false},
        {"fullwidth quotation marks", "C:\\maps\\q\xef\xbc\x82 -bsp2map \xef\xbc\x82.bsp", false},
        {"lone surrogate", "C:\\maps\\x\xed\xa0\x80y.bsp", false},
        {"longer than 260", "C:\\maps\\" + std::string(300, 'n') + ".bsp"},
        {"leading dash", "-threads 9.bsp"},
        {"tab", "C:\\maps\\a\tb.bsp"},
        {"empty", ""},
        {"backslashes before the end", "\\\\server\\share\\maps\\\\x.bsp"},
    };
}

// Map paths that no Windows file name can be, which the launcher quotes from the argument list.
std::vector<PathRow> impossiblePaths()
{
    return {
        {"double quote", "C:\\maps\\a\" -nocsg \"b.bsp"},
        {"trailing backslash", "C:\\maps\\dir\\"},
        {"backslashes and quote", "C:\\a\\\\\"b"},
    };
}

void checkArrival(Checks& checks, const Place& place, const PathRow& row, bool asShown,
                  const Hosting* hosting)
{
    OptionBoard board;
    board.setBspPath(row.path);
    CommandLine line;
    composeCommandLine(board, line);
    const std::string where = (hosting ? "through the host, " : "") + std::string(row.name) + ": ";
    if (!row.survivesAnsi) {
        try {
            launcherFor(hosting).launch(line.program, line.arguments, line.text);
            checks.expect(false, where + "refused");
        } catch (const UnnameableFileError&) {
        }
        return;
    }
    try {
        launcherFor(hosting).launch(line.program, line.arguments, line.text);
    } catch (const LaunchError& error) {
        // Said with the row, so that a start that fails only now and then can be traced.
        checks.expect(false, where + "started, not: " + error.what());
        return;
    }
    const std::vector<Record> records = takeRecords(place, 1, kPatience);
    checks.equal(records.size(), std::size_t(1), where + "the compiler ran once");
    if (records.empty()) {
        return;
    }
    const Record& record = records.front();
    const std::vector<std::string> expected{"BSPC", "-bsp2aas", row.path};
    checks.expect(all(record, "shell") == expected, where + "CommandLineToArgvW reads one path argument");
    checks.expect(all(record, "crt") == expected, where + "the C runtime reads one path argument");
    checks.equal(one(record, "commandLine") == line.text, asShown,
                 where + "the command line is the shown text");
    checks.equal(one(record, "module"), utf8(place.work / "BSPC.exe"), where + "the compiler run");
    checks.equal(one(record, "cwd"), utf8(place.work), where + "working directory");
    checks.equal(one(record, "console"), std::string("1"), where + "a console of its own");
    checks.equal(one(record, "title"), line.text, where + "titled with the shown line");
    checks.equal(one(record, "inherited"), std::string("0"), where + "no handle inherited");
    if (!hosting) {
        checks.equal(one(record, "show"), std::to_string(SW_SHOWMINIMIZED), where + "started minimized");
        return;
    }
    const DWORD host = hostOf(*hosting, record);
    checks.expect(host != 0, where + "in the console host's console");
    // The host holds none of the user's folders while its console stays open.
    wchar_t system[MAX_PATH + 1] = {};
    GetSystemDirectoryW(system, MAX_PATH + 1);
    checks.equal(inspect(*hosting, L"folder " + std::to_wstring(host)), toUtf8(system) + "\\\n",
                 where + "the host's own folder");
    endHosts(*hosting);
}

void paths(Checks& checks, const Place& place, const Hosting* hosting = nullptr)
{
    for (const PathRow& row : hostilePaths()) {
        checkArrival(checks, place, row, true, hosting);
    }
    for (const PathRow& row : impossiblePaths()) {
        checkArrival(checks, place, row, false, hosting);
    }
}

// Runs `body` in a fresh working directory with PATH set to `path`, then puts both back.
template <typename Body> void inDirectory(const fs::path& directory, const std::wstring& path, Body body)
{
    wchar_t savedPath[32768] = {};
    GetEnvironmentVariableW(L"PATH", savedPath, 32768);
    const fs::path saved = fs::current_path();
    fs::create_directories(directory);
    fs::current_path(directory);
    SetEnvironmentVariableW(L"PATH", path.c_str());
    body();
    fs::current_path(saved);
    SetEnvironmentVariableW(L"PATH", savedPath);
}

Record takeRecordOf(Win32Launcher& launcher, const Place& place)
{
    launcher.launch("BSPC", {"-bsp2aas", "x.bsp"}, "BSPC -bsp2aas \"x.bsp\"");
    const std::vector<Record> records = takeRecords(place, 1, kPatience);
    return records.empty() ? Record{} : records.front();
}

std::string launchedModule(const Place& place)
{
    Win32Launcher launcher;
    return one(takeRecordOf(launcher, place), "module");
}

void lookup(Checks& checks, const Place& place)
{
    const fs::path onPath = place.root / "on path";
    fs::create_directories(onPath);
    fs::copy_file(place.standIn, onPath / "BSPC.exe", fs::copy_options::overwrite_existing);
    const std::wstring pathList = L"C:\\nowhere;\"" + onPath.wstring() + L"\"";

    inDirectory(place.root / "both", pathList, [&] {
        fs::copy_file(place.standIn, "BSPC.exe");
        checks.equal(launchedModule(place), utf8(place.root / "both" / "BSPC.exe"),
                     "the working directory first");
    });
    inDirectory(place.root / "only path", pathList, [&] {
        checks.equal(launchedModule(place), utf8(onPath / "BSPC.exe"), "then PATH, quotes and all");
    });
    inDirectory(place.root / "lower case", L"", [&] {
        fs::copy_file(place.standIn, "bspc.exe");
        checks.expect(launchedModule(place) != "(missing)", "a name in lower case is the same name");
    });
    for (const wchar_t* script : {L"BSPC.bat", L"BSPC.cmd"}) {
        inDirectory(place.root / script, L"", [&] {
            std::ofstream(fs::path(script)) << "echo ran> \"" << utf8(place.root / "script ran") << "\"\r\n";
            checks.expect(launchFails(), toUtf8(script) + " is not a compiler");
        });
    }
    inDirectory(place.root / "directory", L"", [&] {
        fs::create_directory("BSPC.exe");
        checks.expect(launchFails(), "a directory is not a compiler");
    });
    inDirectory(place.root / "not a program", L"", [&] {
        std::ofstream("BSPC.exe") << "not a program\r\n";
        checks.expect(launchFails(), "a file that is no program fails to start");
    });
    inDirectory(place.root / "missing", L"", [&] { checks.expect(launchFails(), "no compiler at all"); });
    checks.expect(launchFails("..\\BSPC") && launchFails(""), "only a bare name is looked up");
    // Each batch-file launch above failed before anything was started, so no script can still be on
    // its way.
    checks.expect(!fs::exists(place.root / "script ran"), "no batch file ever ran");
}

void sideBySide(Checks& checks, const Place& place)
{
    SetEnvironmentVariableW(L"TARNWICK_LINGER_MS", L"3000");
    const auto started = std::chrono::steady_clock::now();
    Win32Launcher().launch("BSPC", {"-bsp2aas", "a.bsp"}, "BSPC -bsp2aas \"a.bsp\"");
    Win32Launcher().launch("BSPC", {"-bsp2aas", "b.bsp"}, "BSPC -bsp2aas \"b.bsp\"");
    const auto returned = std::chrono::steady_clock::now() - started;
    const std::vector<Record> records = takeRecords(place, 2, kPatience);
    checks.equal(records.size(), std::size_t(2), "two runs side by side");
    checks.expect(returned < std::chrono::seconds(3), "the launch does not wait for the compiler");
    bool anyDone = false;
    for (const auto& entry : fs::directory_iterator(place.records)) {
        anyDone = anyDone || entry.path().extension() == ".done";
    }
    checks.expect(!anyDone, "both were running at once");
    SetEnvironmentVariableW(L"TARNWICK_LINGER_MS", nullptr);
}

// A launcher that counts its starts, so that a refusal is seen to start nothing.
struct CountingLauncher : Win32Launcher {
    using Win32Launcher::Win32Launcher;
    int launches = 0;
    void launch(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& title) override
    {
        ++launches;
        Win32Launcher::launch(program, arguments, title);
    }
};

struct Press {
    std::vector<std::string> printed;
    std::vector<std::string> shown;
    int launches = 0;
};

// `presses` presses on a file chosen as the .bsp, or as the .aas where the mode is to optimise
// one, and what they showed once the host's answers were in.
Press press(const fs::path& startFolder, const std::string& file, const fs::path& host = {},
            std::chrono::milliseconds patience = kPatience, std::optional<Box> mode = std::nullopt,
            int presses = 1)
{
    OptionBoard board;
    if (mode) {
        board.click(*mode);
    }
    mode == Box::chkOptimiseAas ? board.setAasPath(file) : board.setBspPath(file);
    CommandLine line = initialCommandLine();
    FakeMessageBox messages;
    FakeOutputPanel panel;
    CountingLauncher launcher(startFolder.wstring(), host.wstring(), patience, [&messages] {
        reportCannotStart(messages);
        return true;
    });
    for (int count = 0; count < presses; ++count) {
        processFile(board, line, {messages, panel, launcher});
    }
    launcher.settle();
    return {panel.printed, messages.shown, launcher.launches};
}

enum class Reaches { AsItIs, ThroughShortFolder, Refused };

struct FileRow {
    const char* name;
    std::wstring file; // under the maps folder
    Reaches reaches;
    std::wstring namesake = {}; // a plain-letter file beside it, which must never be the one read
};

// Names whose letters the ANSI code page (1252 here) lacks: a look-alike would stand in for each.
std::vector<FileRow> fileRows()
{
    return {
        {"blanks and ampersand", L"my maps & more\\dm 1.bsp", Reaches::AsItIs},
        {"percent signs", L"%PATH%\\%CD%.bsp", Reaches::AsItIs},
        {"Western letters", L"\u00e9t\u00e9\\carte \u00e0 moi.bsp", Reaches::AsItIs},
        {"fullwidth quotation marks in the name", L"q\uFF02 -bsp2map \uFF02.bsp", Reaches::Refused,
         L"q\" -bsp2map \".bsp"},
        {"fullwidth letters in the name", L"\uFF4D\uFF41\uFF50.bsp", Reaches::Refused, L"map.bsp"},
        {"letters outside the code page in the name", L"\u65E5\u672C.bsp", Reaches::Refused},
        {"a letter beyond 16 bits in the name", L"\U0001F5FA.bsp", Reaches::Refused},
        {"fullwidth quotation marks in a folder", L"q\uFF02 -bsp2map \uFF02\\dm1.bsp",
         Reaches::ThroughShortFolder},
        {"fullwidth letters in a folder", L"\uFF4D\uFF41\uFF50\\dm1.bsp", Reaches::ThroughShortFolder,
         L"map\\dm1.bsp"},
        {"letters outside the code page in a folder", L"\u00e9t\u00e9 \u65E5\u672C \u0416\\dm1.bsp",
         Reaches::ThroughShortFolder},
    };
}

void writeFile(const fs::path& file, const std::string& contents)
{
    std::error_code ignored;
    fs::create_directories(file.parent_path(), ignored);
    std::ofstream(file, std::ios::binary) << contents;
}

std::string readFile(const fs::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void checkFileRow(Checks& checks, const Place& place, const fs::path& start, const FileRow& row)
{
    const fs::path maps = place.root / "maps";
    const fs::path file = maps / row.file;
    writeFile(file, row.name);
    if (!row.namesake.empty()) {
        writeFile(maps / row.namesake, "the other map");
    }
    const std::string path = utf8(file);
    const std::string asked = "BSPC -bsp2aas \"" + path + "\"";
    const std::string where = std::string(row.name) + ": ";
    const Press pressed = press(start, path);
    if (row.reaches == Reaches::Refused) {
        checks.equal(pressed.launches, 0, where + "nothing starts");
        checks.expect(pressed.printed == std::vector<std::string>{asked},
                      where + "the line asked for is printed");
        checks.expect(pressed.shown == std::vector<std::string>{kUnnameable}, where + "the user is told why");
        return;
    }
    checks.expect(pressed.shown.empty(), where + "no message");
    const std::vector<Record> records = takeRecords(place, 1, kPatience);
    checks.equal(records.size(), std::size_t(1), where + "the compiler ran once");
    if (records.empty()) {
        return;
    }
    const Record& record = records.front();
    const std::vector<std::string> crt = all(record, "crt");
    const std::string given = crt.size() == 3 ? crt[2] : "(split)";
    checks.equal(given == path, row.reaches == Reaches::AsItIs, where + "the path given as it is: " + given);
    const std::vector<std::string> expected{"BSPC", "-bsp2aas", given};
    checks.expect(crt == expected && all(record, "ansiSplit") == expected && all(record, "shell") == expected,
                  where + "one path argument for every parser");
    checks.equal(one(record, "contents"), std::string(row.name), where + "the chosen file is the one read");
    const std::string launched = "BSPC -bsp2aas \"" + given + "\"";
    checks.expect(pressed.printed == std::vector<std::string>{launched},
                  where + "the line that runs is printed");
    checks.equal(one(record, "title"), launched, where + "and is the console's title");
    std::printf("%s: %s\n", row.name, given == path ? "as it is" : ("as " + given).c_str());
}

void fileNames(Checks& checks, const Place& place, const fs::path& ansiStandIn)
{
    const fs::path start = place.root / "ansi compiler";
    fs::create_directories(start);
    fs::copy_file(ansiStandIn, start / "BSPC.exe", fs::copy_options::overwrite_existing);
    std::printf("ANSI code page %u\n", GetACP());
    for (const FileRow& row : fileRows()) {
        checkFileRow(checks, place, start, row);
    }
}

// What survives a code page's round trip, whatever the system's own is: the Western one, a
// double-byte one whose letters may end in the byte of a backslash, and UTF-8.
void codePages(Checks& checks)
{
    struct Row {
        const char* name;
        const wchar_t* text;
        unsigned codePage;
        bool survives;
    };
    const Row rows[] = {
        {"plain path", L"C:\\maps\\dm 1.bsp", 1252, true},
        {"Western letters", L"\u00e9t\u00e9 \u00e0", 1252, true},
        {"fullwidth quotation mark", L"q\uFF02.bsp", 1252, false},
        {"fullwidth letters", L"\uFF4D\uFF41\uFF50", 1252, false},
        {"letters the code page lacks", L"\u65E5\u672C", 1252, false},
        {"lone surrogate", L"x\xD800y", 1252, false},
        {"Japanese in a Japanese code page", L"\u65E5\u672C", 932, true},
        {"a letter ending in the byte of a backslash", L"\u30BD", 932, false},
        {"another such letter", L"\u8868", 932, false},
        {"fullwidth letters in UTF-8", L"\uFF02\uFF4D \U0001F5FA", CP_UTF8, true},
        {"lone surrogate in UTF-8", L"x\xD800y", CP_UTF8, false},
    };
    for (const Row& row : rows) {
        checks.equal(survivesCodePage(row.text, row.codePage), row.survives,
                     std::string("code page ") + std::to_string(row.codePage) + ", " + row.name);
    }
}

// The folder the launcher was made in is where it looks and where the compiler runs, wherever the
// current directory has moved since, as a file dialog may move it.
void startFolder(Checks& checks, const Place& place)
{
    const fs::path started = place.root / "started here";
    const fs::path moved = place.root / "moved here";
    fs::create_directories(started);
    fs::create_directories(moved);
    fs::copy_file(place.standIn, started / "BSPC.exe");
    fs::copy_file(place.standIn, moved / "BSPC.exe");
    inDirectory(started, L"", [&] {
        Win32Launcher launcher;
        fs::current_path(moved);
        const Record record = takeRecordOf(launcher, place);
        checks.equal(one(record, "module"), utf8(started / "BSPC.exe"), "the compiler from the start folder");
        checks.equal(one(record, "cwd"), utf8(started), "runs in the start folder");
    });
    inDirectory(place.root / "relative", L"on path", [&] {
        fs::create_directories("on path");
        fs::copy_file(place.standIn, "on path\\BSPC.exe");
        Win32Launcher launcher;
        fs::current_path(moved.parent_path());
        checks.equal(one(takeRecordOf(launcher, place), "module"),
                     utf8(place.root / "relative" / "on path" / "BSPC.exe"),
                     "a relative PATH entry is taken from the start folder");
    });
}

void missingCompilerMessage(Checks& checks, const Place& place)
{
    const fs::path empty = place.root / "missing";
    fs::create_directories(empty);
    inDirectory(empty, L"", [&] {
        const Press pressed = press(empty, "C:\\maps\\dm1.bsp");
        checks.equal(pressed.printed.size(), std::size_t(1), "the line is printed first");
        checks.expect(pressed.shown == std::vector<std::string>{kCannotStart}, "then the one message");
    });
}

struct EndingRow {
    const char* name;
    const wchar_t* exitAs; // as TARNWICK_STANDIN_EXIT gives it; empty for status 0
    bool writes;
    bool oldFileThere;  // a file of that name from long before the run, left as it was
    std::string ending; // with the time taken as "#"
};

std::vector<EndingRow> endingRows(const std::string& file, const std::string& work)
{
    const std::string look = "see the messages above and bspc.log in " + work + ".";
    const std::string unwritten = ", but " + file + " was not written: " + look;
    // Its 16 bytes are too short for an .aas header.
    const std::string cutShort = " cut short, so the game cannot load it: " + look;
    const std::string wrote = ", but " + file + " (16 bytes)";
    return {
        {"wrote its file", L"", true, false,
         "Finished with exit status 0 after #" + wrote + " is" + cutShort},
        {"wrote nothing", L"", false, false, "Finished with exit status 0 after #" + unwritten},
        {"wrote its file but failed", L"3", true, false,
         "Finished with exit status 3 after #" + wrote + " changed during the run and is" + cutShort},
        {"crashed", L"crash", false, false,
         "Ended by exception 0xC0000005 (access violation) after #" + unwritten},
        {"left an older file as it was", L"", false, true, "Finished with exit status 0 after #" + unwritten},
    };
}

// Starts the stand-in through the host on `map` and gives the host it runs under.
DWORD hostedRun(const Place& place, const Hosting& hosting, const fs::path& map)
{
    Win32Launcher(fs::current_path().wstring(), hosting.host.wstring(), kPatience)
        .launch("BSPC", {"-bsp2aas", utf8(map)}, "BSPC -bsp2aas \"" + utf8(map) + "\"");
    const std::vector<Record> records = takeRecords(place, 1, kPatience);
    return records.empty() ? 0 : hostOf(hosting, records.front());
}

// The host's console: minimized, titled with the line, the compiler's output, a blank line and how
// the run ended; it stays open.
void endings(Checks& checks, const Place& place, const Hosting& hosting)
{
    const fs::path map = place.root / "maps" / "end.bsp";
    const fs::path aas = place.root / "maps" / "end.aas";
    fs::create_directories(map.parent_path());
    for (const EndingRow& row : endingRows(utf8(aas), utf8(place.work))) {
        fs::remove(aas);
        if (row.oldFileThere) {
            writeFile(aas, kStandInOutput);
            fs::last_write_time(aas, fs::last_write_time(aas) - std::chrono::hours(24 * 365));
        }
        SetEnvironmentVariableW(L"TARNWICK_STANDIN_WRITES", row.writes ? aas.c_str() : nullptr);
        SetEnvironmentVariableW(L"TARNWICK_STANDIN_EXIT", *row.exitAs != L'\0' ? row.exitAs : nullptr);
        const DWORD host = hostedRun(place, hosting, map);
        const std::string console = awaitEnding(hosting, host);
        const std::string where = std::string("a compiler that ") + row.name + ": ";
        checks.expect(console.starts_with("title: BSPC -bsp2aas \"" + utf8(map) + "\" minimized: yes " +
                                          kStandInMessage + "  "),
                      where + "titled, minimized, the compiler's output and a blank line: " + console);
        checks.equal(endingOf(console), row.ending, where + "the ending line");
        checks.expect(isRunning(host), where + "the console stays open");
        endHosts(hosting);
    }
    SetEnvironmentVariableW(L"TARNWICK_STANDIN_WRITES", nullptr);
    SetEnvironmentVariableW(L"TARNWICK_STANDIN_EXIT", nullptr);
}

// Ctrl+C in the console stops the compiler and leaves the host to say how the run ended: Windows
// ends the compiler with 0xC000013A, Wine with status 0.
void interrupted(Checks& checks, const Place& place, const Hosting& hosting)
{
    SetEnvironmentVariableW(L"TARNWICK_LINGER_MS", L"60000");
    const DWORD host = hostedRun(place, hosting, "x.bsp");
    SetEnvironmentVariableW(L"TARNWICK_LINGER_MS", nullptr);
    inspect(hosting, L"interrupt " + std::to_wstring(host));
    const std::string ending = endingOf(awaitEnding(hosting, host));
    checks.expect(ending.starts_with("Finished with exit status 0 after #") ||
                      ending.starts_with("Ended by exception 0xC000013A (Ctrl+C) after #"),
                  "Ctrl+C stops the compiler: " + ending);
    checks.expect(isRunning(host), "and leaves the host's console open");
    endHosts(hosting);
}

// Without a host, or with a program in its place that ends without a word, the compiler starts in
// a console of its own; the press returns at once, long before that host's silence is over, and a
// launcher closed meanwhile still starts each such compiler.
void fallbacks(Checks& checks, const Place& place)
{
    const std::wstring here = fs::current_path().wstring();
    const auto direct = [&](const Record& record) {
        return one(record, "module") == utf8(place.work / "BSPC.exe") &&
               one(record, "show") == std::to_string(SW_SHOWMINIMIZED);
    };
    Win32Launcher none(here, (place.root / "nowhere" / "tarnwick-console.exe").wstring(), kPatience);
    checks.expect(direct(takeRecordOf(none, place)), "no host: the compiler starts directly");
    {
        Win32Launcher silent(here, place.standIn.wstring(), kPatience);
        SetEnvironmentVariableW(L"TARNWICK_LINGER_MS", L"3000");
        const auto pressed = std::chrono::steady_clock::now();
        silent.launch("BSPC", {"-bsp2aas", "x.bsp"}, "BSPC -bsp2aas \"x.bsp\"");
        silent.launch("BSPC", {"-bsp2aas", "y.bsp"}, "BSPC -bsp2aas \"y.bsp\"");
        checks.expect(std::chrono::steady_clock::now() - pressed < std::chrono::seconds(2),
                      "two presses return before their hosts have said a word");
        SetEnvironmentVariableW(L"TARNWICK_LINGER_MS", nullptr);
    }
    const std::vector<Record> records = takeRecords(place, 4, kPatience);
    checks.expect(records.size() == 4 && std::count_if(records.begin(), records.end(), direct) == 2,
                  "hosts that end without a word: each compiler starts directly");
}

// A compiler that cannot start: Tarnwick says so and its host ends. A host no one waited for says
// why in its console, and stays open.
void unstartable(Checks& checks, const fs::path& root, const Hosting& hosting)
{
    inDirectory(root / "not a program, hosted", L"", [&] {
        std::ofstream("BSPC.exe") << "not a program\r\n";
        const fs::path here = fs::current_path();
        checks.expect(
            press(here, "C:\\maps\\dm1.bsp", hosting.host, kPatience, std::nullopt, 3).shown ==
                std::vector<std::string>(3, kCannotStart),
            "through the host, Tarnwick says for each of three presses that the compiler cannot start");
        checks.expect(awaitHosts(hosting, 0).empty(), "and the host ends");
        // The window's message loop takes the answer as it comes.
        FakeMessageBox messages;
        Win32Launcher launcher(here.wstring(), hosting.host.wstring(), kPatience, [&messages] {
            reportCannotStart(messages);
            return true;
        });
        launcher.launch("BSPC", {"-bsp2aas", "C:\\maps\\dm1.bsp"}, "BSPC -bsp2aas \"C:\\maps\\dm1.bsp\"");
        const auto shown = [&] {
            for (MSG message{}; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
                DispatchMessageW(&message);
            }
            return messages.shown;
        };
        checks.expect(awaitLook(shown, [](const auto& seen) { return !seen.empty(); }) ==
                          std::vector<std::string>{kCannotStart},
                      "a message loop takes the host's answer and shows the message");
        checks.expect(
            press(here, "C:\\maps\\dm1.bsp", hosting.host, std::chrono::milliseconds(0)).shown.empty(),
            "a host not waited for is taken to have started the compiler");
        const std::vector<DWORD> hosts = awaitHosts(hosting, 1);
        const DWORD host = hosts.empty() ? 0 : hosts.front();
        const std::string failure = "Could not start " + utf8(here / "BSPC.exe") + ": ";
        const auto says = [&](const std::string& console) {
            return console.find(failure) != std::string::npos;
        };
        checks.expect(says(awaitLook([&] { return consoleOf(hosting, host); }, says)),
                      "it says why in its console");
        checks.expect(isRunning(host), "and stays open");
        endHosts(hosting);
    });
}

// The real compiler through the console host: the ending line says what it wrote and whether the
// game will take it for the map as it is now (once a letter of the map changed, the old .aas
// optimised is made for another version, and reachabilities over its areas are areas of another
// version, until the map is compiled again), or that a file that is no map gave nothing, below the
// compiler's own messages and in the colour of its news.
void realThroughHost(Checks& checks, const fs::path& start, const fs::path& maps, const Hosting& hosting)
{
    const fs::path map = maps / "testbox.bsp";
    const fs::path aas = maps / "testbox.aas";
    const fs::path old = maps / "old.aas";
    const std::string ok = "Finished with exit status 0 after #: wrote " + utf8(aas);
    const std::string again =
        " Compile the map again with Recalculate reachabilities and Optimise .AAS file unticked.";
    const auto changeMap = [&] {
        std::string bytes = readFile(map);
        bytes.replace(bytes.find("bspc testbed box"), 16, "bspc testbed bux");
        writeFile(map, bytes);
        fs::copy_file(aas, old);
    };
    // MinGW's copy_file cannot overwrite.
    const auto restoreOld = [&] {
        fs::remove(aas);
        fs::copy_file(old, aas);
    };
    struct Row {
        const char* name;
        fs::path file;
        std::optional<Box> mode;
        std::function<void()> before;
        const char* message;
        std::string ending;
        const char* colour; // of the ending line
    };
    const Row rows[] = {
        {"testbox.bsp", map, std::nullopt, [] {},
         "bsp2aas: ", ok + " (7.4 KiB) for " + utf8(map) + " as it is now.", "0A"},
        {"optimised after the map changed", aas, Box::chkOptimiseAas, changeMap, "optimizing: ",
         ok + " (3.3 KiB), but it was made for another version of " + utf8(map) +
             ": the game will refuse it as out of date." + again,
         "0C"},
        {"reachabilities over the old areas", map, Box::chkReach, restoreOld, "reach: ",
         ok + " (7.4 KiB), but its areas were made for another version of " + utf8(map) +
             ": bots would move by the old map." + again,
         "0E"},
        {"compiled again", map, std::nullopt, [] {},
         "bsp2aas: ", ok + " (7.4 KiB) for " + utf8(map) + " as it is now.", "0A"},
        {"notamap.bsp", maps / "notamap.bsp", std::nullopt, [] {}, "ERROR: File read failure",
         "Finished with exit status 1 after #, but " + utf8(maps / "notamap.aas") +
             " was not written: see the messages above and bspc.log in " + utf8(start) + ".",
         "0C"},
    };
    // Shorter than a map's header, which the compiler reads first.
    writeFile(maps / "notamap.bsp", "text\r\n");
    fs::remove(aas);
    for (const Row& row : rows) {
        row.before();
        const Press pressed = press(start, utf8(row.file), hosting.host, kPatience, row.mode);
        const std::vector<DWORD> hosts = awaitHosts(hosting, 1);
        const DWORD host = hosts.empty() ? 0 : hosts.front();
        const std::string console = awaitEnding(hosting, host);
        const std::string where = std::string("through the host, ") + row.name + ": ";
        checks.expect(pressed.shown.empty() && console.find(row.message) != std::string::npos,
                      where + "the compiler's messages in the console");
        checks.equal(endingOf(console), row.ending, where + "the ending line");
        // Bright over Wine's black background; the console's own colours come back after the line.
        std::istringstream colours(
            awaitLook([&] { return inspect(hosting, L"colours " + std::to_wstring(host)); },
                      [](const std::string& seen) { return !seen.empty(); }));
        std::string first, ending, now;
        colours >> first >> ending >> now;
        checks.equal(ending, std::string(row.colour), where + "the ending line's colour");
        checks.equal(now, first, where + "the console's own colours after the ending line");
        endHosts(hosting);
    }
}

// A press that runs the real compiler on a real map, in folders whose names a shell would misread.
int realCompiler(const fs::path& compiler, const fs::path& map, const Hosting& hosting)
{
    Checks checks;
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    const fs::path root = fs::path(temporary) / (L"tarnwick real " + std::to_wstring(GetCurrentProcessId()));
    const fs::path start = root / "Quake3 & tools";
    const fs::path maps = root / "my maps & more" / "baseq3 maps";
    fs::remove_all(root);
    fs::create_directories(start);
    fs::create_directories(maps);
    fs::copy_file(compiler, start / "BSPC.exe");
    fs::copy_file(map, maps / "testbox.bsp");

    const Press pressed = press(start, utf8(maps / "testbox.bsp"));
    checks.expect(pressed.shown.empty() && pressed.launches == 1, "the compiler starts");
    const fs::path written = maps / "testbox.aas";
    // Well inside the test's own time limit, so that a run that never ends is reported here.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    std::error_code error;
    while (std::chrono::steady_clock::now() < deadline && fs::file_size(written, error) != 7600) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    checks.equal(fs::file_size(written, error), std::uintmax_t(7600), "testbox.aas written, 7,600 bytes");
    checks.expect(fs::exists(start / "bspc.log"), "its log in the start folder");
    realThroughHost(checks, start, maps, hosting);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return checks.exitStatus();
}

Place makePlace(const wchar_t* standIn)
{
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    Place place;
    place.root = fs::path(temporary) / (L"tarnwick launcher " + std::to_wstring(GetCurrentProcessId()));
    place.work = place.root / L"work \u00e9 & %x%";
    place.records = place.root / "records";
    place.standIn = standIn;
    fs::remove_all(place.root);
    fs::create_directories(place.work);
    fs::create_directories(place.records);
    fs::copy_file(place.standIn, place.work / "BSPC.exe");
    SetEnvironmentVariableW(L"TARNWICK_RECORD_DIR", place.records.wstring().c_str());
    return place;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool real = argc == 6 && std::wstring_view(argv[1]) == L"--real";
    if (argc != 5 && !real) {
        std::fprintf(
            stderr,
            "usage: tst_win32_launcher STAND-IN.exe ANSI-STAND-IN.exe CONSOLE-HOST.exe INSPECTOR.exe\n"
            "       tst_win32_launcher --real BSPC.exe MAP.bsp CONSOLE-HOST.exe INSPECTOR.exe\n");
        return 2;
    }
    const Hosting hosting{fs::path(argv[argc - 2]).make_preferred(),
                          fs::path(argv[argc - 1]).make_preferred()};
    if (real) {
        return realCompiler(argv[2], argv[3], hosting);
    }
    Checks checks;
    const Place place = makePlace(argv[1]);
    // An inheritable handle the compiler must not receive.
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    HANDLE probe = CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    SetEnvironmentVariableW(L"TARNWICK_PROBE_HANDLE",
                            std::to_wstring(reinterpret_cast<INT_PTR>(probe)).c_str());

    inDirectory(place.work, L"", [&] {
        paths(checks, place);
        sideBySide(checks, place);
        paths(checks, place, &hosting);
        endings(checks, place, hosting);
        interrupted(checks, place, hosting);
        fallbacks(checks, place);
    });
    unstartable(checks, place.root, hosting);
    lookup(checks, place);
    codePages(checks);
    startFolder(checks, place);
    missingCompilerMessage(checks, place);
    fileNames(checks, place, argv[2]);
    checks.expect(WaitForSingleObject(probe, 0) == WAIT_TIMEOUT,
                  "no compiler could touch the inheritable handle");
    CloseHandle(probe);
    // Stand-ins that still linger keep their files; Wine's server ends them after the test.
    std::error_code ignored;
    fs::remove_all(place.root, ignored);
    return checks.exitStatus();
}
