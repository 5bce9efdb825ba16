#pragma once

#include "command_line_composer.h"
#include "fake_services.h"
#include "file_buttons.h"
#include "option_board.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

// The argument list read back as the text the user sees: blanks between words, the path quoted.
inline std::string joinedWithQuotedPath(const CommandLine& line)
{
    std::string joined = line.program;
    for (std::size_t i = 0; i < line.arguments.size(); ++i) {
        joined += i == 1 ? " \"" + line.arguments[i] + "\"" : " " + line.arguments[i];
    }
    return joined;
}

// The option board's invariants after any whole click, for every test that drives it at random:
// what is broken, or nothing. Where the driver counts the clicks on chkProcessors, `processors` is
// the value the box must hold.
inline std::optional<std::string> brokenBoardInvariant(const OptionBoard& board,
                                                       std::optional<int> processors = std::nullopt)
{
    int modes = 0;
    for (Box mode : kModeBoxes) {
        modes += board.value(mode);
    }
    const bool optimising = board.value(Box::chkOptimiseAas) == 1;
    CommandLine current;
    const CommandLine& line = composeCommandLine(board, current);
    const std::pair<bool, const char*> rules[] = {
        {modes <= 1, "more than one mode box set"},
        {modes == 0 || std::ranges::all_of(kBuildOptions, [&](Box box) { return board.value(box) == 0; }),
         "a build option set beside a mode"},
        {std::ranges::all_of(kInertBoxes, [&](Box box) { return board.value(box) == 0; }),
         "an inert box set"},
        {!processors || board.value(Box::chkProcessors) == *processors, "chkProcessors changed by a rule"},
        {board.isEnabled(Button::Command2) == !optimising, "Command2's flag against the optimise state"},
        {board.isEnabled(Button::cmdSelectAAS) == optimising,
         "cmdSelectAAS's flag against the optimise state"},
        {board.isEnabled(Button::cmdProcess), "cmdProcess disabled"},
        {board.displayedPath() == (optimising ? board.aasPath() : board.bspPath()),
         "the displayed path is not the mode's file"},
        {joinedWithQuotedPath(line) == line.text, "the command text and its arguments differ"},
        {line.arguments.at(1) == (optimising ? board.aasPath() : board.bspPath()), "the command's path"},
    };
    for (const auto& [holds, what] : rules) {
        if (!holds) {
            return what;
        }
    }
    return std::nullopt;
}

// A file choice as the window makes it: through the file button asked for, where it is enabled.
inline void chooseFileThroughButton(OptionBoard& board, bool bspButton, const std::string& path)
{
    FakeFileDialog dialog;
    dialog.answers = {path};
    if (bspButton && board.isEnabled(Button::Command2)) {
        selectBspFile(board, dialog);
    } else if (!bspButton && board.isEnabled(Button::cmdSelectAAS)) {
        selectAasFile(board, dialog);
    }
}
