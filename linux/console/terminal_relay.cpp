#include "terminal_relay.h"

#include "retrying_calls.h"
#include "run_ending.h"
#include "run_watch.h"
#include "system_file_access.h"
#include "terminal_pump.h"

#include <csignal>
#include <string>
#include <system_error>

namespace {

constexpr std::chrono::milliseconds kLeftBehindGrace{2000};

class Relay : public TerminalPump::Listener {
public:
    Relay(const RunWatch& watch, int output)
        : m_watch(watch)
        , m_output(output)
    {
    }

    void output(std::string_view bytes) override
    {
        while (m_listening && !bytes.empty()) {
            const ssize_t written = writeRetrying(m_output, bytes.data(), bytes.size());
            if (written <= 0) {
                m_listening = false;
                return;
            }
            bytes.remove_prefix(std::size_t(written));
        }
    }

    // Taken when the program ends, shown once no writer is left, or after a grace for a program
    // left behind that holds the terminal for good: what it writes meanwhile goes above it, as in
    // the console's window.
    std::chrono::milliseconds ended(int waitStatus) override
    {
        m_ending = m_watch.end(SystemFileAccess(), runExitOf(waitStatus)).line;
        return kLeftBehindGrace;
    }

    void showEnding()
    {
        if (m_ending) {
            // Appended rather than "\n" + ...: GCC 12's Release build misreads that as an overlap.
            std::string ending(1, '\n');
            ending.append(*m_ending).push_back('\n');
            output(ending);
        }
    }

private:
    const RunWatch& m_watch;
    int m_output;
    bool m_listening = true;
    std::optional<std::string> m_ending;
};

} // namespace

int relayToOutput(PseudoTerminal& terminal, const RunWatch& watch, int output)
{
    // A closed reader shows as EPIPE on the next write instead of ending this process.
    ::signal(SIGPIPE, SIG_IGN);
    Relay relay(watch, output);
    try {
        TerminalPump(terminal).run(relay);
    } catch (const std::system_error&) {
        return 1; // no descriptor left to watch the program with
    }
    relay.showEnding();
    return 0;
}
