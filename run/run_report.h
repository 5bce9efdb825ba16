#pragma once

#include "aas_header.h"
#include "file_stamp.h"
#include "run_outputs.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the compiler ended, in the platform's own terms: "Finished with exit status 0", "Ended by
// signal 11 (SIGSEGV)", "Ended by exception 0xC0000005 (access violation)".
struct RunExit {
    std::string text;
    bool clean = false; // ended by itself with status 0
};

// The mode's file at one moment: its stamp, and for an .aas what its header says; nothing where it
// could not be had.
struct FileState {
    std::optional<FileStamp> stamp;
    std::optional<AasHeader> header;
};

// What is found once the compiler has ended.
struct RunEnd {
    RunExit exit;
    std::chrono::nanoseconds took{};
    std::chrono::system_clock::time_point at;
    FileState file;
    std::optional<std::uint32_t> mapChecksum; // of the map as it is now, where it could be read
};

// How the ending line stands out: all is well; the game takes the file but bots will err; or the
// run left no file the game can use as it should.
enum class EndingTone { Good, Warning, Bad };

struct RunEnding {
    std::string line;
    EndingTone tone = EndingTone::Bad;

    bool operator==(const RunEnding&) const = default;
};

// The account of one compiler run: made just before the compiler starts, with the state of the file
// its mode writes; at the end it gives the one line its console shows last: how the run ended, how
// long it took, whether that file was written, since the compiler's own status says 0 after many a
// failure, and for an .aas whether the game will load it for the map as it is now.
class RunReport {
public:
    // A file written just after the start may be dated before it: by up to two seconds where the
    // file system keeps whole or even seconds, by a tick of the system's coarse file clock where it
    // keeps fractions. The same holds at the end.
    static constexpr std::chrono::seconds kCoarseStampSlack{2};
    static constexpr std::chrono::milliseconds kFineStampSlack{100};

    RunReport(RunOutputs outputs, FileState before, std::chrono::system_clock::time_point start);

    const RunOutputs& outputs() const { return m_outputs; }
    const FileState& before() const { return m_before; }
    std::chrono::system_clock::time_point start() const { return m_start; }

    // Whether the mode's file, found as `after` when the run ended at `end`, was written during the
    // run: it exists, and it changed, or it is dated within the run, widened by the slack its
    // stamp needs.
    bool wasWritten(const std::optional<FileStamp>& after, std::chrono::system_clock::time_point end) const;

    //   "Finished with exit status 0 after 4.2 s: wrote /maps/dm1.aas (141 KiB) for /maps/dm1.bsp as
    //    it is now."
    //   "Finished with exit status 0 after 0.0 s, but /maps/X.aas was not written: see the messages
    //    above and bspc.log in /home/me/q3."
    RunEnding ending(const RunEnd& end) const;

private:
    enum class Verdict { Unjudged, CutShort, NotAas, AsNow, OtherVersion, OldAreas };

    Verdict verdictOn(const RunEnd& end) const;

    RunOutputs m_outputs;
    FileState m_before;
    std::chrono::system_clock::time_point m_start;
};

// "0.0 s", "59.9 s", "1 min 05 s", "2 h 03 min".
std::string describeDuration(std::chrono::nanoseconds took);
// "0 bytes", "1023 bytes", "7.4 KiB", "141 KiB", "2.3 MiB", "1.0 GiB".
std::string describeSize(std::uint64_t bytes);
// A path as one line shows it: a control character or a line or paragraph separator, which a
// file's name on Linux may hold, becomes '?', as `ls` shows it.
std::string oneLinePath(std::string_view path);
