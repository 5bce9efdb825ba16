// The Windows launcher against a stand-in compiler: hostile map paths arrive as one argument each
// for both parsers a compiler may use, the compiler gets a minimized console of its own and no
// handle, and only a real BSPC.exe, found where it should be, is ever started.
//   tst_win32_launcher STAND-IN.exe
#include "checks.h"
#include "command_line_composer.h"
#include "compile_request.h"
#include "message_box.h"
#include "option_board.h"
#include "output_panel.h"
#include "win32_api.h"
#include "win32_launcher.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Record = std::multimap<std::string, std::string>;

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

// Waits for the next `count` records and takes them away.
std::vector<Record> takeRecords(const Place& place, std::size_t count, std::chrono::seconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::vector<fs::path> files;
    while (std::chrono::steady_clock::now() < deadline) {
        files.clear();
        for (const auto& entry : fs::directory_iterator(place.records)) {
            if (entry.path().extension() == ".record") {
                files.push_back(entry.path());
            }
        }
        if (files.size() >= count) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<Record> records;
    for (const fs::path& file : files) {
        records.push_back(readRecord(file));
        fs::remove(file);
    }
    return records;
}

std::string utf8(const fs::path& path)
{
    return toUtf8(path.wstring());
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
        {"non-ASCII letters",
         "C:\\maps\\\xc3\xa9t\xc3\xa9 \xd0\x96 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x97\xba.bsp"},
        {"lone surrogate", "C:\\maps\\x\xed\xa0\x80y.bsp"},
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

void checkArrival(Checks& checks, const Place& place, const PathRow& row, bool asShown)
{
    OptionBoard board;
    board.setBspPath(row.path);
    CommandLine line;
    composeCommandLine(board, line);
    Win32Launcher().launch(line.program, line.arguments, line.text);
    const std::vector<Record> records = takeRecords(place, 1, std::chrono::seconds(20));
    const std::string where = std::string(row.name) + ": ";
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
    checks.equal(one(record, "show"), std::to_string(SW_SHOWMINIMIZED), where + "started minimized");
    checks.equal(one(record, "inherited"), std::string("0"), where + "no handle inherited");
}

void paths(Checks& checks, const Place& place)
{
    for (const PathRow& row : hostilePaths()) {
        checkArrival(checks, place, row, true);
    }
    for (const PathRow& row : impossiblePaths()) {
        checkArrival(checks, place, row, false);
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

std::string launchedModule(const Place& place)
{
    Win32Launcher().launch("BSPC", {"-bsp2aas", "x.bsp"}, "BSPC -bsp2aas \"x.bsp\"");
    const std::vector<Record> records = takeRecords(place, 1, std::chrono::seconds(20));
    return records.empty() ? "(none)" : one(records.front(), "module");
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
        checks.expect(launchedModule(place) != "(none)", "a name in lower case is the same name");
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
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    checks.expect(!fs::exists(place.root / "script ran"), "no batch file ever ran");
}

struct RecordingMessages : MessageBox {
    std::vector<std::string> shown;
    void showMessage(const std::string& text) override { shown.push_back(text); }
};

struct RecordingPanel : OutputPanel {
    std::vector<std::string> lines;
    void printLine(const std::string& text) override { lines.push_back(text); }
};

void missingCompilerMessage(Checks& checks, const Place& place)
{
    inDirectory(place.root / "missing", L"", [&] {
        OptionBoard board;
        board.setBspPath("C:\\maps\\dm1.bsp");
        CommandLine line = initialCommandLine();
        RecordingMessages messages;
        RecordingPanel panel;
        Win32Launcher launcher;
        processFile(board, line, {messages, panel, launcher});
        checks.equal(panel.lines.size(), std::size_t(1), "the line is printed first");
        checks.equal(messages.shown.size(), std::size_t(1), "then one message");
        if (!messages.shown.empty()) {
            checks.equal(messages.shown.front(),
                         std::string("BSPC.exe does not seem to be in the current Directory"), "the message");
        }
    });
}

void sideBySide(Checks& checks, const Place& place)
{
    SetEnvironmentVariableW(L"TARNWICK_LINGER_MS", L"3000");
    const auto started = std::chrono::steady_clock::now();
    Win32Launcher().launch("BSPC", {"-bsp2aas", "a.bsp"}, "BSPC -bsp2aas \"a.bsp\"");
    Win32Launcher().launch("BSPC", {"-bsp2aas", "b.bsp"}, "BSPC -bsp2aas \"b.bsp\"");
    const auto returned = std::chrono::steady_clock::now() - started;
    const std::vector<Record> records = takeRecords(place, 2, std::chrono::seconds(20));
    checks.equal(records.size(), std::size_t(2), "two runs side by side");
    checks.expect(returned < std::chrono::seconds(3), "the launch does not wait for the compiler");
    bool anyDone = false;
    for (const auto& entry : fs::directory_iterator(place.records)) {
        anyDone = anyDone || entry.path().extension() == ".done";
    }
    checks.expect(!anyDone, "both were running at once");
    SetEnvironmentVariableW(L"TARNWICK_LINGER_MS", nullptr);
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
    if (argc != 2) {
        std::fprintf(stderr, "usage: tst_win32_launcher STAND-IN.exe\n");
        return 2;
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
    });
    lookup(checks, place);
    missingCompilerMessage(checks, place);
    checks.expect(WaitForSingleObject(probe, 0) == WAIT_TIMEOUT,
                  "no compiler could touch the inheritable handle");
    CloseHandle(probe);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    std::error_code ignored;
    fs::remove_all(place.root, ignored);
    return checks.exitStatus();
}
