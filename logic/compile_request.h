#pragma once

#include "command_line.h"

class OptionBoard;
class MessageBox;
class OutputPanel;
class ProgramLauncher;

// The platform services a compile request talks to; none is owned.
struct CompileServices {
    MessageBox& messages;
    OutputPanel& panel;
    ProgramLauncher& launcher;
};

// What "Process file" runs: checks the chosen file for the selected mode, composes the command
// into currentCommandLine, prints it and starts the compiler without waiting. Every problem ends
// in a message to the user; nothing escapes to the caller and the board is never changed.
void processFile(const OptionBoard& board, CommandLine& currentCommandLine, const CompileServices& services);

// What the user is told when the compiler could not be started, also by a launcher that learns of
// it only after the request has ended.
void reportCannotStart(MessageBox& messages);
