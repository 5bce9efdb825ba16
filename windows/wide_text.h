#pragma once

#include <string>
#include <string_view>

// The logic speaks UTF-8 and Windows speaks UTF-16; these convert at the boundary without loss.
// A lone surrogate, which a Windows file name may hold, travels as its three-byte form (as WTF-8
// does) and comes back unchanged, so every path the file dialog gives reaches the compiler as it was.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);
