#pragma once

#include "owned_kernel_handle.h"
#include "start_report.h"

#include <chrono>
#include <optional>
#include <string>

// The front end's side of the channel on which the console host says whether it started the
// compiler: a named pipe whose server end this process reads with a bounded wait, and whose client
// end the host alone inherits. The pipe takes one client, and this process opens it at once
// itself, so no other process can come between.
class ReportPipe {
public:
    // Nullopt when no pipe could be made.
    static std::optional<ReportPipe> open();

    HANDLE hostEnd() const { return m_hostEnd.get(); }
    // Once the host holds its copy, so that the host's end closes when the host ends.
    void closeHostEnd() { m_hostEnd.reset(); }

    // The host's line, up to and including its newline.
    HostAnswer readLine(std::chrono::milliseconds patience);
    void send(char byte);

private:
    ReportPipe(OwnedKernelHandle ours, OwnedKernelHandle hostEnd, OwnedKernelHandle ioDone);

    // What the pipe holds, or why it holds nothing.
    HostAnswer readChunk(std::chrono::steady_clock::time_point deadline);

    OwnedKernelHandle m_ours;
    OwnedKernelHandle m_hostEnd;
    OwnedKernelHandle m_ioDone; // signalled by each overlapped read or write when it completes
};
