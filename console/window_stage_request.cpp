#include "window_stage_request.h"

#include <charconv>

namespace {

constexpr std::string_view kRun = "run";
constexpr std::string_view kFailed = "failed";

std::optional<long> parsePositive(const std::string& text)
{
    long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size() || number < 0) {
        return std::nullopt;
    }
    return number;
}

} // namespace

std::vector<std::string> WindowStageRequest::toArguments() const
{
    if (kind == Kind::Failure) {
        return {std::string(kFailed), title, message};
    }
    return {std::string(kRun), std::to_string(master), std::to_string(pid), title};
}

std::optional<WindowStageRequest> WindowStageRequest::fromArguments(const std::vector<std::string>& list)
{
    if (list.size() == 3 && list[0] == kFailed) {
        return WindowStageRequest{Kind::Failure, -1, -1, list[1], list[2]};
    }
    if (list.size() != 4 || list[0] != kRun) {
        return std::nullopt;
    }
    const std::optional<long> master = parsePositive(list[1]);
    const std::optional<long> pid = parsePositive(list[2]);
    if (!master || *master < 3 || !pid || *pid < 1) {
        return std::nullopt;
    }
    return WindowStageRequest{Kind::Run, int(*master), pid_t(*pid), list[3], {}};
}
