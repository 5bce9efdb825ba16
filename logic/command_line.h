#pragma once

#include <string>
#include <vector>

// One compiler command in two shapes built from the same steps: the text shown to the user, and
// the program name with its exact argument list, which is what gets launched. The launch never
// re-splits the text, so a double quote or blank inside a file name can never turn into options.
struct CommandLine {
    std::string text;
    std::string program;
    std::vector<std::string> arguments;

    bool operator==(const CommandLine&) const = default;
};
