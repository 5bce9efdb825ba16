#pragma once

#include <optional>
#include <string>
#include <vector>

// What a compiler run works on and writes, read from its arguments as the compiler itself reads
// them, so that its console can say afterwards whether the run did what it was asked:
// - `-bsp2aas P`, `-reach P`, `-aasopt P`: P up to and including its last '.', then "aas", beside
//   the map (`-reach` and `-aasopt` rewrite that file in place); the map is P up to its last '.',
//   then "bsp", as the compiler opens it (for `-aasopt`, the map beside the .aas, if there is one);
// - `-bsp2map P`: P's file name up to its first '.', then ".map", in the working folder;
// - every run: "bspc.log" in the working folder.
// Relative paths are joined to the working folder, so every path here names the file outright.
struct RunOutputs {
    enum class Mode { None, Bsp2Aas, Reach, AasOpt, Bsp2Map };

    Mode mode = Mode::None;
    std::optional<std::string> modeFile; // nothing when the arguments name no mode with a file
    std::optional<std::string> mapFile;  // for the modes that write an .aas
    std::string workingFolder;
    std::string logFile;

    bool writesAas() const { return mapFile.has_value(); }

    // `workingFolder` is absolute, in its platform's form: "/home/me/q3" or "C:\q3".
    static RunOutputs of(const std::vector<std::string>& arguments, const std::string& workingFolder);
};
