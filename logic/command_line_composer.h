#pragma once

#include "command_line.h"

class OptionBoard;

// Builds the compiler command for the board's current state, stores it in currentCommandLine and
// returns it. Validates nothing: empty paths and any extension are composed as they are.
const CommandLine& composeCommandLine(const OptionBoard& board, CommandLine& currentCommandLine);

// The command line the main window holds before anything has been composed.
CommandLine initialCommandLine();
