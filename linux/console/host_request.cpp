#include "host_request.h"

#include "decimal_argument.h"

namespace {

constexpr int kNoDescriptor = -1;

// "-" for no report socket (kNoDescriptor), or a descriptor past the standard streams.
std::optional<int> parseDescriptor(const std::string& text)
{
    if (text == "-") {
        return kNoDescriptor;
    }
    return decimalArgument(text, 3);
}

} // namespace

std::vector<std::string> HostRequest::toArguments() const
{
    std::vector<std::string> list{reportDescriptor ? std::to_string(*reportDescriptor) : "-", title, program};
    list.insert(list.end(), arguments.begin(), arguments.end());
    return list;
}

std::optional<HostRequest> HostRequest::fromArguments(const std::vector<std::string>& list)
{
    if (list.size() < 3 || !list[2].starts_with('/')) {
        return std::nullopt;
    }
    const auto descriptor = parseDescriptor(list[0]);
    if (!descriptor) {
        return std::nullopt;
    }
    HostRequest request{std::nullopt, list[1], list[2], {list.begin() + 3, list.end()}};
    if (*descriptor != kNoDescriptor) {
        request.reportDescriptor = *descriptor;
    }
    return request;
}
