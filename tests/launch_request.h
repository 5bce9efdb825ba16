#pragma once

#include "command_line_composer.h"
#include "compile_request.h"
#include "fake_services.h"
#include "option_board.h"
#include "process_launcher.h"

// One press of "Process file" with the real launcher; returns the messages it showed.
inline QStringList requestWithRealLauncher(const OptionBoard& board)
{
    CommandLine current = initialCommandLine();
    FakeMessageBox messages;
    FakeOutputPanel panel;
    ProcessLauncher launcher;
    processFile(board, current, {messages, panel, launcher});
    return messages.shown;
}
