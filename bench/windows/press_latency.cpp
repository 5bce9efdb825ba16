// Times a press of "Process file" until the window is ready for the next click, through the console
// host and with the compiler started directly, interleaved, and prints the medians and spreads:
//   press_latency CONSOLE-HOST.exe COMPILER.exe [RUNS]
// The compiler is copied into a start folder of its own as BSPC.exe; each host is ended after its
// press, as its console would stay open.
#include "command_line_composer.h"
#include "compile_request.h"
#include "fake_services.h"
#include "option_board.h"
#include "win32_api.h"
#include "win32_launcher.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <tlhelp32.h>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void endHosts()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"tarnwick-console.exe") == 0) {
            const HANDLE host = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
            TerminateProcess(host, 0);
            WaitForSingleObject(host, INFINITE);
            CloseHandle(host);
        }
    }
    CloseHandle(snapshot);
}

// Milliseconds from the click to the press's return, as the window's thread sees them.
double pressOnce(const std::wstring& startFolder, const std::wstring& host)
{
    OptionBoard board;
    board.setBspPath("C:\\maps\\dm1.bsp");
    CommandLine line = initialCommandLine();
    FakeMessageBox messages;
    FakeOutputPanel panel;
    Win32Launcher launcher(startFolder, host, Win32Launcher::kHostPatience, [&messages] {
        reportCannotStart(messages);
        return true;
    });
    const auto clicked = std::chrono::steady_clock::now();
    processFile(board, line, {messages, panel, launcher});
    const auto ready = std::chrono::steady_clock::now();
    launcher.settle();
    if (!messages.shown.empty()) {
        std::fprintf(stderr, "press_latency: %s\n", messages.shown.front().c_str());
    }
    return std::chrono::duration<double, std::milli>(ready - clicked).count();
}

void print(const char* name, const std::vector<double>& times)
{
    std::printf("%-28s median %7.2f ms  (%.2f-%.2f)\n", name, median(times),
                *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: press_latency CONSOLE-HOST.exe COMPILER.exe [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 18;
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    const std::wstring startFolder = std::wstring(temporary) + L"tarnwick press latency";
    CreateDirectoryW(startFolder.c_str(), nullptr);
    CopyFileW(argv[2], (startFolder + L"\\BSPC.exe").c_str(), FALSE);
    std::vector<double> throughHost;
    std::vector<double> direct;
    for (int run = 0; run < runs; ++run) {
        throughHost.push_back(pressOnce(startFolder, argv[1]));
        endHosts();
        direct.push_back(pressOnce(startFolder, L""));
    }
    std::printf("-- press to ready, %d presses each, interleaved\n", runs);
    print("through the console host", throughHost);
    print("direct CreateProcessW", direct);
    std::printf("ratio of medians            %7.2f\n", median(throughHost) / median(direct));
    return 0;
}
