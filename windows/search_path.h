#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folders of a search path as Windows reads one: `;` separates them except inside double
// quotes, which let a folder's name hold `;` and are dropped; empty entries are skipped.
std::vector<std::wstring> splitSearchPath(std::wstring_view path);
