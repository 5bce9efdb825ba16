#include "run_watch.h"

#include "decimal_argument.h"
#include "run_ending.h"

#include <cstdlib>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using SystemClock = std::chrono::system_clock;
using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kFixedFields = 4;
constexpr char kNoFile[] = "-";

std::string currentFolder()
{
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? std::string(folder.get()) : std::string(".");
}

std::optional<FileStamp> stampOf(const std::optional<std::string>& path)
{
    struct stat status {};
    if (!path || ::stat(path->c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return FileStamp{fileTimePoint(status.st_mtim.tv_sec, status.st_mtim.tv_nsec),
                     std::uint64_t(status.st_size)};
}

long long nanosecondsOf(auto timePoint)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(timePoint.time_since_epoch()).count();
}

template <typename Clock> std::optional<typename Clock::time_point> timeOf(std::string_view text)
{
    const std::optional<long long> count = decimalArgument(text, std::numeric_limits<long long>::min());
    if (!count) {
        return std::nullopt;
    }
    return typename Clock::time_point(
        std::chrono::duration_cast<typename Clock::duration>(std::chrono::nanoseconds(*count)));
}

std::string encodeStamp(const std::optional<FileStamp>& stamp)
{
    return stamp ? std::to_string(nanosecondsOf(stamp->modified)) + ":" + std::to_string(stamp->size)
                 : kNoFile;
}

// The outer optional fails on a malformed text; the inner one is the file's absence.
std::optional<std::optional<FileStamp>> decodeStamp(std::string_view text)
{
    if (text == kNoFile) {
        return std::optional<FileStamp>();
    }
    const std::size_t colon = text.find(':');
    const auto modified = timeOf<SystemClock>(text.substr(0, colon));
    const auto size = colon == std::string_view::npos
                          ? std::nullopt
                          : decimalArgument<std::uint64_t>(text.substr(colon + 1), 0);
    if (!modified || !size) {
        return std::nullopt;
    }
    return std::optional(FileStamp{*modified, *size});
}

} // namespace

RunWatch::RunWatch(std::vector<std::string> arguments, RunOutputs outputs, std::optional<FileStamp> before,
                   SystemClock::time_point startedAt, SteadyClock::time_point started)
    : m_arguments(std::move(arguments))
    , m_report(std::move(outputs), before, startedAt)
    , m_started(started)
{
}

RunWatch RunWatch::begin(std::vector<std::string> arguments)
{
    RunOutputs outputs = RunOutputs::of(arguments, currentFolder());
    const std::optional<FileStamp> before = stampOf(outputs.modeFile);
    return RunWatch(std::move(arguments), std::move(outputs), before, SystemClock::now(), SteadyClock::now());
}

std::string RunWatch::endingLine(int waitStatus) const
{
    const auto took = SteadyClock::now() - m_started;
    return m_report.endingLine(runExitOf(waitStatus), took, stampOf(m_report.outputs().modeFile));
}

std::vector<std::string> RunWatch::toArguments() const
{
    std::vector<std::string> list{std::to_string(nanosecondsOf(m_started)),
                                  std::to_string(nanosecondsOf(m_report.start())),
                                  encodeStamp(m_report.before()), m_report.outputs().workingFolder};
    list.insert(list.end(), m_arguments.begin(), m_arguments.end());
    return list;
}

std::optional<RunWatch> RunWatch::fromArguments(std::span<const std::string> list)
{
    if (list.size() < kFixedFields) {
        return std::nullopt;
    }
    const auto started = timeOf<SteadyClock>(list[0]);
    const auto startedAt = timeOf<SystemClock>(list[1]);
    const auto before = decodeStamp(list[2]);
    if (!started || !startedAt || !before) {
        return std::nullopt;
    }
    std::vector<std::string> arguments(list.begin() + kFixedFields, list.end());
    RunOutputs outputs = RunOutputs::of(arguments, list[3]);
    return RunWatch(std::move(arguments), std::move(outputs), *before, *startedAt, *started);
}
