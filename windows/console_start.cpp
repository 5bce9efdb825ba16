#include "console_start.h"

#include "report_pipe.h"

#include <vector>

namespace {

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

// The host runs in the compiler's working folder, so that it holds no other folder open.
bool startHost(const std::wstring& host, HostRequest& request, HANDLE reportEnd)
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
    startup.StartupInfo.lpTitle = request.title.data();
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

ConsoleStartResult startInConsole(const std::wstring& host, HostRequest request,
                                  std::chrono::milliseconds patience)
{
    std::optional<ReportPipe> pipe = ReportPipe::open();
    if (!pipe) {
        return ConsoleStartResult::HostUnavailable;
    }
    request.reportHandle = reinterpret_cast<std::uintptr_t>(pipe->hostEnd());
    if (!startHost(host, request, pipe->hostEnd())) {
        return ConsoleStartResult::HostUnavailable;
    }
    pipe->closeHostEnd();
    return startResultOf(pipe->readLine(patience), [&pipe] { pipe->send(kReportAcknowledged); });
}
