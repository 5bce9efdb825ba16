#pragma once

#include <charconv>
#include <optional>
#include <string_view>

// A whole argument or field read as a decimal number no smaller than `least`; nothing for
// anything else, trailing characters included.
template <typename Number> std::optional<Number> decimalArgument(std::string_view text, Number least)
{
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size() || number < least) {
        return std::nullopt;
    }
    return number;
}
