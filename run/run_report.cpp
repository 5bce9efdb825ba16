#include "run_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

std::string twoDigits(long long value)
{
    std::string digits = std::to_string(value);
    digits.insert(0, 2 - std::min<std::size_t>(digits.size(), 2), '0');
    return digits;
}

std::string whereToLook(const RunOutputs& outputs)
{
    return "see the messages above and bspc.log in " + oneLinePath(outputs.workingFolder) + ".";
}

// The advice for a file made for another version of its map: a plain compile makes one for the map
// as it is.
std::string compileAgain(RunOutputs::Mode mode)
{
    return mode == RunOutputs::Mode::Bsp2Aas
               ? " Compile the map again."
               : " Compile the map again with Recalculate reachabilities and Optimise .AAS file unticked.";
}

std::string madeForAnother(const std::string& map)
{
    return "it was made for another version of " + map;
}

std::string areasMadeForAnother(const std::string& map)
{
    return "its areas were made for another version of " + map;
}

bool startsAt(std::string_view text, std::size_t at, std::string_view part)
{
    return text.substr(at, part.size()) == part;
}

} // namespace

RunReport::RunReport(RunOutputs outputs, FileState before, std::chrono::system_clock::time_point start)
    : m_outputs(std::move(outputs))
    , m_before(std::move(before))
    , m_start(start)
{
}

// A stamp that changed counts even when dated before the start: a file server's clock may lag. An
// unchanged one counts only when dated within the run, so that neither a file written by the run
// before nor one dated ahead by a clock set wrong is taken for this run's.
bool RunReport::wasWritten(const std::optional<FileStamp>& after,
                           std::chrono::system_clock::time_point end) const
{
    if (!after) {
        return false;
    }
    if (after != m_before.stamp) {
        return true;
    }
    const std::chrono::system_clock::duration slack =
        after->isCoarse() ? std::chrono::system_clock::duration(kCoarseStampSlack) : kFineStampSlack;
    return after->modified >= m_start - slack && after->modified <= end + slack;
}

// An .aas that cannot be read, or whose map cannot, is judged no further than it can be.
RunReport::Verdict RunReport::verdictOn(const RunEnd& end) const
{
    const std::optional<AasHeader>& header = end.file.header;
    if (!m_outputs.writesAas() || !header) {
        return Verdict::Unjudged;
    }
    if (header->fault == AasHeader::Fault::TooShort || header->fault == AasHeader::Fault::LumpOutside) {
        return Verdict::CutShort;
    }
    if (!header->isValid()) {
        return Verdict::NotAas;
    }
    if (!end.mapChecksum) {
        return Verdict::Unjudged;
    }
    if (header->mapChecksum != *end.mapChecksum) {
        return Verdict::OtherVersion;
    }
    // -reach writes the map's checksum over the areas it found in the file.
    const std::optional<AasHeader>& old = m_before.header;
    const bool oldAreas = m_outputs.mode == RunOutputs::Mode::Reach && old && old->isValid() &&
                          old->mapChecksum != *end.mapChecksum;
    return oldAreas ? Verdict::OldAreas : Verdict::AsNow;
}

// A run that failed never says plainly that it wrote its file: what it left may be cut short.
RunEnding RunReport::ending(const RunEnd& end) const
{
    const std::string ended = end.exit.text + " after " + describeDuration(end.took);
    const std::string look = whereToLook(m_outputs);
    if (!m_outputs.modeFile) {
        return end.exit.clean ? RunEnding{ended + ".", EndingTone::Good} : RunEnding{ended + ": " + look};
    }
    const std::string file = oneLinePath(*m_outputs.modeFile);
    if (!wasWritten(end.file.stamp, end.at)) {
        return {ended + ", but " + file + " was not written: " + look};
    }
    if (end.file.stamp->size == 0) {
        return {ended + ", but " + file + " is empty: " + look};
    }
    const std::string sized = file + " (" + describeSize(end.file.stamp->size) + ")";
    const std::string map = m_outputs.mapFile ? oneLinePath(*m_outputs.mapFile) : std::string();
    const Verdict verdict = verdictOn(end);
    if (verdict == Verdict::CutShort || verdict == Verdict::NotAas) {
        const char* how = end.exit.clean ? " is " : " changed during the run and is ";
        const char* what = verdict == Verdict::CutShort ? "cut short" : "not a valid .aas file";
        return {ended + ", but " + sized + how + what + ", so the game cannot load it: " + look};
    }
    if (!end.exit.clean) {
        const std::string aside = verdict == Verdict::AsNow
                                      ? ", though it was made for " + map + " as it is now"
                                  : verdict == Verdict::OtherVersion ? ", and " + madeForAnother(map)
                                  : verdict == Verdict::OldAreas     ? ", and " + areasMadeForAnother(map)
                                                                     : std::string();
        return {ended + ", but " + sized + " changed during the run and may be incomplete" + aside + ": " +
                look};
    }
    const std::string wrote = ended + ": wrote " + sized;
    switch (verdict) {
    case Verdict::AsNow:
        return {wrote + " for " + map + " as it is now.", EndingTone::Good};
    case Verdict::OtherVersion:
        return {wrote + ", but " + madeForAnother(map) + ": the game will refuse it as out of date." +
                compileAgain(m_outputs.mode)};
    case Verdict::OldAreas:
        return {wrote + ", but " + areasMadeForAnother(map) + ": bots would move by the old map." +
                    compileAgain(m_outputs.mode),
                EndingTone::Warning};
    default:
        return {wrote + ".", EndingTone::Good};
    }
}

std::string describeDuration(std::chrono::nanoseconds took)
{
    using namespace std::chrono;
    const long long tenths = (std::max(took, nanoseconds(0)).count() + 50'000'000) / 100'000'000;
    if (tenths < 600) {
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
    }
    const long long seconds = (tenths + 5) / 10;
    if (seconds < 3600) {
        return std::to_string(seconds / 60) + " min " + twoDigits(seconds % 60) + " s";
    }
    const long long minutes = (seconds + 30) / 60;
    return std::to_string(minutes / 60) + " h " + twoDigits(minutes % 60) + " min";
}

// Three figures at most: a tenth below ten units, whole units above.
std::string describeSize(std::uint64_t bytes)
{
    if (bytes < 1024) {
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    }
    constexpr std::array<const char*, 4> kUnits{"KiB", "MiB", "GiB", "TiB"};
    double value = double(bytes) / 1024;
    std::size_t unit = 0;
    while (std::round(value) >= 1024 && unit + 1 < kUnits.size()) {
        value /= 1024;
        ++unit;
    }
    // Whole tenths, never the C locale's decimal comma, which the Qt window stage takes on.
    const auto tenths = static_cast<std::uint64_t>(std::llround(value * 10));
    const std::string figure = tenths < 100 ? std::to_string(tenths / 10) + "." + std::to_string(tenths % 10)
                                            : std::to_string((tenths + 5) / 10);
    return figure + " " + kUnits[unit];
}

std::string oneLinePath(std::string_view path)
{
    // U+0080 to U+009F are C2 80 to C2 9F in UTF-8; the line and paragraph separators E2 80 A8 and A9.
    std::string shown;
    for (std::size_t at = 0; at < path.size(); ++at) {
        const auto byte = static_cast<unsigned char>(path[at]);
        const bool c1 =
            byte == 0xC2 && at + 1 < path.size() && (static_cast<unsigned char>(path[at + 1]) & 0xE0) == 0x80;
        const bool separator = startsAt(path, at, "\xE2\x80\xA8") || startsAt(path, at, "\xE2\x80\xA9");
        if (byte < 0x20 || byte == 0x7F || c1 || separator) {
            shown += '?';
            at += c1 ? 1 : separator ? 2 : 0;
        } else {
            shown += path[at];
        }
    }
    return shown;
}
