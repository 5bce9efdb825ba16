#include "window_stage_request.h"

#include "decimal_argument.h"

namespace {

constexpr std::string_view kRun = "run";
constexpr std::string_view kFailed = "failed";

} // namespace

std::vector<std::string> WindowStageRequest::toArguments() const
{
    if (kind == Kind::Failure) {
        return {std::string(kFailed), title, message};
    }
    std::vector<std::string> list{std::string(kRun), std::to_string(master), std::to_string(pid), title};
    if (watch) {
        const std::vector<std::string> watched = watchArguments(*watch);
        list.insert(list.end(), watched.begin(), watched.end());
    }
    return list;
}

std::optional<WindowStageRequest> WindowStageRequest::fromArguments(const std::vector<std::string>& list)
{
    if (list.size() == 3 && list[0] == kFailed) {
        return WindowStageRequest{Kind::Failure, -1, -1, list[1], list[2], std::nullopt};
    }
    if (list.size() < 4 || list[0] != kRun) {
        return std::nullopt;
    }
    const std::optional<int> master = decimalArgument(list[1], 3);
    const std::optional<pid_t> pid = decimalArgument<pid_t>(list[2], 1);
    std::optional<RunWatch> watch = watchFromArguments(std::span(list).subspan(4));
    if (!master || !pid || !watch) {
        return std::nullopt;
    }
    return WindowStageRequest{Kind::Run, *master, *pid, list[3], {}, std::move(watch)};
}
