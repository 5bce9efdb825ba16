#pragma once

#include <string>
#include <vector>

// The arguments CommandLineToArgvW reads in a command line, the program's name first; empty when
// it cannot read them.
std::vector<std::wstring> shellArguments(const std::wstring& commandLine);
