#pragma once

#include <optional>
#include <string>
#include <vector>

// What a compiler run writes, read from its arguments as the compiler itself reads them, so that
// its console can say afterwards whether the run did what it was asked:
// - `-bsp2aas P`, `-reach P`, `-aasopt P`: P up to and including its last '.', then "aas", beside
//   the map (`-reach` and `-aasopt` rewrite that file in place);
// - `-bsp2map P`: P's file name up to its first '.', then ".map", in the working folder;
// - every run: "bspc.log" in the working folder.
// Relative paths are joined to the working folder, so every path here names the file outright.
struct RunOutputs {
    std::optional<std::string> modeFile; // nothing when the arguments name no mode with a file
    std::string workingFolder;
    std::string logFile;

    // `workingFolder` is absolute, in its platform's form: "/home/me/q3" or "C:\q3".
    static RunOutputs of(const std::vector<std::string>& arguments, const std::string& workingFolder);
};
