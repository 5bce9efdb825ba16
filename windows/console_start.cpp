#include "console_start.h"

#include "program_launcher.h"
#include "report_pipe.h"

#include <algorithm>
#include <vector>

namespace {

// Posted to the message-only window, with the start's number, once its answer is in.
constexpr UINT kAnswered = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"TarnwickConsoleStart";

using OwnedAttributeList = OwnedHandle<LPPROC_THREAD_ATTRIBUTE_LIST, &DeleteProcThreadAttributeList>;

// An attribute list naming the one handle the host may inherit, in `storage`.
OwnedAttributeList inheritOnly(HANDLE* handle, std::vector<char>& storage)
{
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) {
        return OwnedAttributeList();
    }
    OwnedAttributeList owned(list);
    if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handle, sizeof(*handle),
                                   nullptr, nullptr)) {
        return OwnedAttributeList();
    }
    return owned;
}

bool startHost(const std::wstring& host, const HostRequest& request, std::wstring title, HANDLE reportEnd)
{
    std::vector<char> storage;
    const OwnedAttributeList attributes = inheritOnly(&reportEnd, storage);
    if (!attributes) {
        return false;
    }
    std::wstring commandLine = request.toCommandLine(host);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_SHOWMINIMIZED;
    startup.StartupInfo.lpTitle = title.data();
    startup.lpAttributeList = attributes.get();
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(host.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_NEW_CONSOLE | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                        request.workingFolder.c_str(), &startup.StartupInfo, &started)) {
        return false;
    }
    // The host runs on its own; nothing here waits for it or keeps it.
    OwnedKernelHandle process(started.hProcess);
    OwnedKernelHandle thread(started.hThread);
    return true;
}

} // namespace

// One start whose answer is awaited. The pool thread writes `answer`, then signals `read`; from
// then on only this thread touches it.
struct ConsoleStart::Pending {
    std::uint32_t id;
    ReportPipe pipe;
    Fallback fallback;
    std::chrono::milliseconds patience;
    HWND window;
    OwnedKernelHandle read;
    HostAnswer answer = HostSilence{};
};

ConsoleStart::ConsoleStart(std::chrono::milliseconds patience, Failed failed)
    : m_patience(patience)
    , m_failed(std::move(failed))
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ConsoleStart::windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass); // fails harmlessly when registered already
    m_window = CreateWindowExW(0, kWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ConsoleStart::~ConsoleStart()
{
    actOnEach(false);
    DestroyWindow(m_window);
}

bool ConsoleStart::start(const std::wstring& host, HostRequest request, const std::wstring& title,
                         Fallback fallback)
{
    std::optional<ReportPipe> pipe = ReportPipe::open();
    // Without the window, an answer would go to the thread pool's own queue and be lost.
    if (!pipe || m_window == nullptr) {
        return false;
    }
    request.reportHandle = reinterpret_cast<std::uintptr_t>(pipe->hostEnd());
    if (!startHost(host, request, title, pipe->hostEnd())) {
        return false;
    }
    pipe->closeHostEnd();
    auto pending = std::make_unique<Pending>(
        Pending{m_nextId++, std::move(*pipe), std::move(fallback), m_patience, m_window,
                OwnedKernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))});
    if (pending->read && TrySubmitThreadpoolCallback(&ConsoleStart::readAnswer, pending.get(), nullptr)) {
        m_pending.push_back(std::move(pending));
        return true;
    }
    // Without a way to await the answer elsewhere, it is awaited here, as a run is never lost.
    pending->answer = pending->pipe.readLine(m_patience);
    actOn(*pending, true);
    return true;
}

void ConsoleStart::settle()
{
    actOnEach(true);
}

// Each taken out of the list first: telling the user shows a box whose message loop may act on
// other answers meanwhile.
void ConsoleStart::actOnEach(bool userAtHand)
{
    while (!m_pending.empty()) {
        const std::unique_ptr<Pending> pending = std::move(m_pending.front());
        m_pending.pop_front();
        WaitForSingleObject(pending->read.get(), INFINITE);
        actOn(*pending, userAtHand);
    }
}

// On the thread pool: `pending` is not touched once its answer is signalled.
void CALLBACK ConsoleStart::readAnswer(PTP_CALLBACK_INSTANCE, void* context)
{
    Pending& pending = *static_cast<Pending*>(context);
    pending.answer = pending.pipe.readLine(pending.patience);
    const HWND window = pending.window;
    const std::uint32_t id = pending.id;
    SetEvent(pending.read.get());
    PostMessageW(window, kAnswered, 0, static_cast<LPARAM>(id));
}

LRESULT CALLBACK ConsoleStart::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ConsoleStart*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kAnswered && self != nullptr) {
        self->answered(static_cast<std::uint32_t>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A start settled before its message came is no longer here.
void ConsoleStart::answered(std::uint32_t id)
{
    const auto found =
        std::find_if(m_pending.begin(), m_pending.end(),
                     [id](const std::unique_ptr<Pending>& pending) { return pending->id == id; });
    if (found != m_pending.end()) {
        std::unique_ptr<Pending> pending = std::move(*found);
        m_pending.erase(found);
        actOn(*pending, true);
    }
}

// With no user at hand, as when the program is closing, a failure is left to the host to show: it
// is acknowledged only once the user has been told.
void ConsoleStart::actOn(Pending& pending, bool userAtHand)
{
    const auto tell = [&] { return userAtHand && m_failed && m_failed(); };
    const ConsoleStartResult result = startResultOf(pending.answer, [] {});
    if (result == ConsoleStartResult::ProgramFailed && tell()) {
        pending.pipe.send(kReportAcknowledged);
    }
    if (result != ConsoleStartResult::HostUnavailable) {
        return;
    }
    try {
        pending.fallback();
    } catch (...) {
        tell();
    }
}
