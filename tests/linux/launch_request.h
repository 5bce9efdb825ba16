#pragma once

#include "board_text.h"
#include "command_line_composer.h"
#include "compile_request.h"
#include "fake_services.h"
#include "option_board.h"
#include "posix_launcher.h"

#include <chrono>

// One press of "Process file" with the real launcher, through the given console host (none when
// empty); returns the messages it showed. Tests wait for the host's word as long as it takes.
inline QStringList requestWithRealLauncher(const OptionBoard& board, const QString& consoleHost = {},
                                           std::chrono::milliseconds hostPatience = std::chrono::seconds(20))
{
    CommandLine current = initialCommandLine();
    FakeMessageBox messages;
    FakeOutputPanel panel;
    PosixLauncher launcher(consoleHost, hostPatience);
    processFile(board, current, {messages, panel, launcher});
    return toQStringList(messages.shown);
}
