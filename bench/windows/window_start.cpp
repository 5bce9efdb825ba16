// Times a program from its start to its window being shown, several times over, and prints the
// median and the spread:  window_start PROGRAM.exe "WINDOW TITLE" [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace {

constexpr auto kPatience = std::chrono::seconds(20);

// The milliseconds until the window was shown, or a negative number if it never was.
double startOnce(const std::wstring& program, const wchar_t* title)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    const auto begin = std::chrono::steady_clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return -1;
    }
    HWND window = nullptr;
    while ((window = FindWindowW(nullptr, title)) == nullptr || !IsWindowVisible(window)) {
        if (std::chrono::steady_clock::now() - begin > kPatience) {
            TerminateProcess(started.hProcess, 1);
            break;
        }
        Sleep(1);
    }
    const auto shown = std::chrono::steady_clock::now();
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(started.hProcess, 5000);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return window != nullptr ? std::chrono::duration<double, std::milli>(shown - begin).count() : -1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_start PROGRAM.exe \"WINDOW TITLE\" [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::stoi(argv[3]) : 20;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double time = startOnce(argv[1], argv[2]);
        if (time < 0) {
            std::fprintf(stderr, "%ls: did not start, or showed no window titled \"%ls\"\n", argv[1],
                         argv[2]);
            return 1;
        }
        times.push_back(time);
    }
    std::sort(times.begin(), times.end());
    std::printf("%ls: median %.1f ms, fastest %.1f ms, slowest %.1f ms over %d runs\n", argv[2],
                times[times.size() / 2], times.front(), times.back(), runs);
    return 0;
}
