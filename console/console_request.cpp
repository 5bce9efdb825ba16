#include "console_request.h"

#include <charconv>

namespace {

constexpr int kNoDescriptor = -1;

// "-" for no report socket (kNoDescriptor), or a descriptor past the standard streams.
std::optional<int> parseDescriptor(const std::string& text)
{
    if (text == "-") {
        return kNoDescriptor;
    }
    int descriptor = kNoDescriptor;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), descriptor);
    if (error != std::errc{} || end != text.data() + text.size() || descriptor < 3) {
        return std::nullopt;
    }
    return descriptor;
}

} // namespace

std::vector<std::string> ConsoleRequest::toArguments() const
{
    std::vector<std::string> list{reportDescriptor ? std::to_string(*reportDescriptor) : "-", title, program};
    list.insert(list.end(), arguments.begin(), arguments.end());
    return list;
}

std::optional<ConsoleRequest> ConsoleRequest::fromArguments(const std::vector<std::string>& list)
{
    if (list.size() < 3 || !list[2].starts_with('/')) {
        return std::nullopt;
    }
    const auto descriptor = parseDescriptor(list[0]);
    if (!descriptor) {
        return std::nullopt;
    }
    ConsoleRequest request{std::nullopt, list[1], list[2], {list.begin() + 3, list.end()}};
    if (*descriptor != kNoDescriptor) {
        request.reportDescriptor = *descriptor;
    }
    return request;
}
