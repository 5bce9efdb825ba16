#pragma once

#include "command_line.h"

class OptionBoard;

// Builds the compiler command for the board's current state, stores it in currentCommandLine and
// returns it. Validates nothing: empty paths and any extension are composed as they are.
const CommandLine& composeCommandLine(const OptionBoard& board, CommandLine& currentCommandLine);

// The same command with a quoted path given by another name, in the text and in the arguments.
CommandLine withPathRenamed(CommandLine command, const std::string& path, const std::string& name);

// The command line the main window holds before anything has been composed.
CommandLine initialCommandLine();
