#include "report_pipe.h"

#include <algorithm>

namespace {

constexpr DWORD kBufferSize = 64;

// Unique among this process's pipes by the counter, and among processes by the id.
std::wstring freshPipeName()
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return L"\\\\.\\pipe\\tarnwick-report-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter.QuadPart);
}

} // namespace

ReportPipe::ReportPipe(OwnedKernelHandle ours, OwnedKernelHandle hostEnd, OwnedKernelHandle ioDone)
    : m_ours(std::move(ours))
    , m_hostEnd(std::move(hostEnd))
    , m_ioDone(std::move(ioDone))
{
}

// A pipe of that name already there (made by someone else) fails the first-instance flag.
std::optional<ReportPipe> ReportPipe::open()
{
    const std::wstring name = freshPipeName();
    OwnedKernelHandle ours = kernelHandle(CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, kBufferSize,
        kBufferSize, 0, nullptr));
    if (!ours) {
        return std::nullopt;
    }
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    OwnedKernelHandle hostEnd = kernelHandle(
        CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, 0, nullptr));
    OwnedKernelHandle ioDone(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!hostEnd || !ioDone) {
        return std::nullopt;
    }
    return ReportPipe(std::move(ours), std::move(hostEnd), std::move(ioDone));
}

HostAnswer ReportPipe::readLine(std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::string line;
    while (!line.ends_with('\n')) {
        HostAnswer chunk = readChunk(deadline);
        if (!std::holds_alternative<std::string>(chunk)) {
            return chunk;
        }
        line += std::get<std::string>(chunk);
    }
    return line;
}

HostAnswer ReportPipe::readChunk(std::chrono::steady_clock::time_point deadline)
{
    char buffer[kBufferSize];
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_ioDone.get();
    if (!ReadFile(m_ours.get(), buffer, kBufferSize, nullptr, &overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        return HostClosed{};
    }
    using namespace std::chrono;
    const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
    const bool done =
        WaitForSingleObject(m_ioDone.get(), DWORD(std::max<long long>(left.count(), 0))) == WAIT_OBJECT_0;
    if (!done) {
        CancelIoEx(m_ours.get(), &overlapped);
    }
    // Waited for even after a cancel: the read must be over before its buffer goes.
    DWORD got = 0;
    const bool read = GetOverlappedResult(m_ours.get(), &overlapped, &got, TRUE) && got > 0;
    if (read) {
        return std::string(buffer, got);
    }
    return done ? HostAnswer(HostClosed{}) : HostAnswer(HostSilence{});
}

void ReportPipe::send(char byte)
{
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_ioDone.get();
    DWORD sent = 0;
    // The pipe's buffer is empty, so the write completes at once, or fails at once when the host is gone.
    if (WriteFile(m_ours.get(), &byte, 1, nullptr, &overlapped) || GetLastError() == ERROR_IO_PENDING) {
        GetOverlappedResult(m_ours.get(), &overlapped, &sent, TRUE);
    }
}
