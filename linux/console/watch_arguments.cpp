#include "watch_arguments.h"

#include "decimal_argument.h"

#include <limits>

namespace {

using SystemClock = RunWatch::SystemClock;
using SteadyClock = RunWatch::SteadyClock;

constexpr std::size_t kFixedFields = 5;
constexpr char kNothing[] = "-";

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

// Two numbers with a colon between; nothing for anything else.
template <typename First, typename Second>
std::optional<std::pair<First, Second>> pairOf(std::string_view text, First least)
{
    const std::size_t colon = text.find(':');
    const auto first = decimalArgument<First>(text.substr(0, colon), least);
    const auto second =
        colon == std::string_view::npos ? std::nullopt : decimalArgument<Second>(text.substr(colon + 1), 0);
    return first && second ? std::optional(std::pair(*first, *second)) : std::nullopt;
}

std::string encodeStamp(const std::optional<FileStamp>& stamp)
{
    return stamp ? std::to_string(nanosecondsOf(stamp->modified)) + ":" + std::to_string(stamp->size)
                 : kNothing;
}

std::string encodeHeader(const std::optional<AasHeader>& header)
{
    return header ? std::to_string(int(header->fault)) + ":" + std::to_string(header->mapChecksum) : kNothing;
}

// False on a malformed text; "-" leaves the stamp or header empty.
bool decodeStamp(std::string_view text, std::optional<FileStamp>& stamp)
{
    const auto read = pairOf<long long, std::uint64_t>(text, std::numeric_limits<long long>::min());
    if (read) {
        stamp = FileStamp{SystemClock::time_point(std::chrono::duration_cast<SystemClock::duration>(
                              std::chrono::nanoseconds(read->first))),
                          read->second};
    }
    return read || text == kNothing;
}

bool decodeHeader(std::string_view text, std::optional<AasHeader>& header)
{
    const auto read = pairOf<int, std::uint32_t>(text, 0);
    const bool known = read && read->first <= int(AasHeader::Fault::LumpOutside);
    if (known) {
        header = AasHeader{AasHeader::Fault(read->first), read->second};
    }
    return known || text == kNothing;
}

} // namespace

std::vector<std::string> watchArguments(const RunWatch& watch)
{
    const RunReport& report = watch.report();
    std::vector<std::string> list{std::to_string(nanosecondsOf(watch.started())),
                                  std::to_string(nanosecondsOf(report.start())),
                                  encodeStamp(report.before().stamp), encodeHeader(report.before().header),
                                  report.outputs().workingFolder};
    list.insert(list.end(), watch.arguments().begin(), watch.arguments().end());
    return list;
}

std::optional<RunWatch> watchFromArguments(std::span<const std::string> list)
{
    if (list.size() < kFixedFields) {
        return std::nullopt;
    }
    const auto started = timeOf<SteadyClock>(list[0]);
    const auto startedAt = timeOf<SystemClock>(list[1]);
    FileState before;
    if (!started || !startedAt || !decodeStamp(list[2], before.stamp) ||
        !decodeHeader(list[3], before.header)) {
        return std::nullopt;
    }
    std::vector<std::string> arguments(list.begin() + kFixedFields, list.end());
    RunReport report(RunOutputs::of(arguments, list[4]), std::move(before), *startedAt);
    return RunWatch(std::move(arguments), std::move(report), *started);
}
