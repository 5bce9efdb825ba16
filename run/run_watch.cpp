#include "run_watch.h"

#include "map_checksum.h"

#include <algorithm>
#include <array>

namespace {

std::optional<AasHeader> headerOf(const FileAccess& files, const std::string& path, const FileStamp& stamp)
{
    std::array<std::uint8_t, AasHeader::kSize> start;
    std::size_t taken = 0;
    const bool read = files.read(path, [&](FileAccess::Block block) {
        const std::size_t part = std::min(block.size(), start.size() - taken);
        std::copy_n(block.begin(), part, start.begin() + std::ptrdiff_t(taken));
        taken += part;
        return taken < start.size();
    });
    if (!read || files.stampOf(path) != stamp) {
        return std::nullopt;
    }
    return AasHeader::read(std::span(start).first(taken), stamp.size);
}

} // namespace

FileState fileStateOf(const FileAccess& files, const RunOutputs& outputs)
{
    FileState state;
    if (outputs.modeFile) {
        state.stamp = files.stampOf(*outputs.modeFile);
    }
    if (state.stamp && outputs.writesAas()) {
        state.header = headerOf(files, *outputs.modeFile, *state.stamp);
    }
    return state;
}

RunWatch::RunWatch(std::vector<std::string> arguments, RunReport report, SteadyClock::time_point started)
    : m_arguments(std::move(arguments))
    , m_report(std::move(report))
    , m_started(started)
{
}

RunWatch RunWatch::begin(const FileAccess& files, std::vector<std::string> arguments,
                         const std::string& workingFolder)
{
    RunOutputs outputs = RunOutputs::of(arguments, workingFolder);
    FileState before = fileStateOf(files, outputs);
    RunReport report(std::move(outputs), std::move(before), SystemClock::now());
    return RunWatch(std::move(arguments), std::move(report), SteadyClock::now());
}

// The map is read only for a file the game could take, and only once the program has ended.
RunEnding RunWatch::end(const FileAccess& files, const RunExit& exit) const
{
    RunEnd end{
        exit, SteadyClock::now() - m_started, SystemClock::now(), fileStateOf(files, m_report.outputs()), {}};
    const std::optional<std::string>& map = m_report.outputs().mapFile;
    if (map && end.file.header && end.file.header->isValid()) {
        end.mapChecksum = mapChecksumOf(files, *map);
    }
    return m_report.ending(end);
}
