#pragma once

#include "file_stamp.h"
#include "run_outputs.h"

#include <chrono>
#include <optional>
#include <string>

// How the compiler ended, in the platform's own terms: "Finished with exit status 0", "Ended by
// signal 11 (SIGSEGV)", "Ended by exception 0xC0000005 (access violation)".
struct RunExit {
    std::string text;
    bool clean = false; // ended by itself with status 0
};

// The account of one compiler run: made just before the compiler starts, with the state of the file
// its mode writes; at the end it gives the one line its console shows last: how the run ended, how
// long it took, and whether that file was written, since the compiler's own status says 0 after
// many a failure.
class RunReport {
public:
    // A file written just after the start may be dated before it: by up to two seconds where the
    // file system keeps whole or even seconds, by a tick of the system's coarse file clock where it
    // keeps fractions.
    static constexpr std::chrono::seconds kCoarseStampSlack{2};
    static constexpr std::chrono::milliseconds kFineStampSlack{100};

    RunReport(RunOutputs outputs, std::optional<FileStamp> before,
              std::chrono::system_clock::time_point start);

    const RunOutputs& outputs() const { return m_outputs; }
    const std::optional<FileStamp>& before() const { return m_before; }
    std::chrono::system_clock::time_point start() const { return m_start; }

    // Whether the mode's file, found as `after` at the end, was written during the run: it exists,
    // and it is new, changed, or dated from the run's start on, less the slack its stamp needs.
    bool wasWritten(const std::optional<FileStamp>& after) const;

    //   "Finished with exit status 0 after 4.2 s: wrote /maps/dm1.aas (141 KiB)."
    //   "Finished with exit status 0 after 0.0 s, but /maps/X.aas was not written: see the messages
    //    above and bspc.log in /home/me/q3."
    std::string endingLine(const RunExit& exit, std::chrono::nanoseconds took,
                           const std::optional<FileStamp>& after) const;

private:
    RunOutputs m_outputs;
    std::optional<FileStamp> m_before;
    std::chrono::system_clock::time_point m_start;
};

// "0.0 s", "59.9 s", "1 min 05 s", "2 h 03 min".
std::string describeDuration(std::chrono::nanoseconds took);
// "0 bytes", "1023 bytes", "7.4 KiB", "141 KiB", "2.3 MiB", "1.0 GiB".
std::string describeSize(std::uint64_t bytes);
