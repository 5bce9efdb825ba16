#pragma once

#include "host_request.h"
#include "win32_api.h"

// Runs one compiler in the console this program was given, as the front end asked: titles the
// console with the shown line, starts the compiler in it, says on the report pipe whether the
// compiler started, and once it ends prints how the run ended and whether it wrote its file, asks
// for attention, and keeps the console open until the user closes it.
class ConsoleHost {
public:
    explicit ConsoleHost(HostRequest request);

    // Returns only when the front end has been told that the compiler could not start; otherwise
    // the process ends when its console is closed.
    int run();

private:
    bool startCompiler(PROCESS_INFORMATION& process) const;
    [[noreturn]] void showFailure(unsigned long error) const;

    HostRequest m_request;
};
