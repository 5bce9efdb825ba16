#pragma once

#include "host_request.h"
#include "start_report.h"
#include "win32_api.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>

// The front end's side of starting runs through the console host. A start hands the run to the
// host, in a console of its own, minimized, given the focus and titled with the shown line, with a
// report pipe the host alone inherits, and returns at once: a press never waits for a host. The
// host's answer is read on the thread pool, for `patience` at most, and acted on back on the
// thread that made this object, through a message-only window: a failure the host reports goes to
// `failed`, and once the user was told, the host is acknowledged so that it need not show it too;
// a host that cannot set up or ends without a word has the run started by its fallback, so that no
// run is lost. Silence counts as a start.
class ConsoleStart {
public:
    // Tells the user that the compiler could not start; false when there was no one to tell, as
    // when the window has closed meanwhile.
    using Failed = std::function<bool()>;
    // Starts the run another way; may throw LaunchError.
    using Fallback = std::function<void()>;

    // With no `failed`, a failure is left to the host to show in its console.
    ConsoleStart(std::chrono::milliseconds patience, Failed failed);
    // Waits for every outstanding answer, each read for at most the patience, and lets it go: a run
    // whose host did not start it is started by its fallback; a failure is left to the host to show.
    ~ConsoleStart();
    ConsoleStart(const ConsoleStart&) = delete;
    ConsoleStart& operator=(const ConsoleStart&) = delete;

    // False when the host could not be started: then nothing was.
    bool start(const std::wstring& host, HostRequest request, const std::wstring& title, Fallback fallback);

    // Waits for every outstanding answer and acts on it, as the message loop does when each comes:
    // for a caller with no message loop, or none yet.
    void settle();

private:
    struct Pending;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void CALLBACK readAnswer(PTP_CALLBACK_INSTANCE instance, void* context);
    void answered(std::uint32_t id);
    void actOnEach(bool userAtHand);
    void actOn(Pending& pending, bool userAtHand);

    std::chrono::milliseconds m_patience;
    Failed m_failed;
    HWND m_window = nullptr;
    std::list<std::unique_ptr<Pending>> m_pending;
    std::uint32_t m_nextId = 1;
};
