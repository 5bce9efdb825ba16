#include "compile_request.h"

#include "command_line_composer.h"
#include "message_box.h"
#include "option_board.h"
#include "output_panel.h"
#include "path_text.h"
#include "program_launcher.h"

#include <optional>
#include <string_view>

namespace {

constexpr std::string_view kNoAas = "You must select a .AAS file";
constexpr std::string_view kBadAas = "You have not selected a valid .AAS";
constexpr std::string_view kNoBsp = "You must select a .BSP file";
constexpr std::string_view kBadBsp = "You have not selected a valid .BSP";
constexpr std::string_view kCannotStart = "BSPC.exe does not seem to be in the current Directory";
constexpr std::string_view kUnnameable =
    "The path of this file holds characters that BSPC cannot be given on this system. Rename the "
    "file, or move it to a folder with a plain name, and try again.";

std::optional<std::string_view> checkPath(const std::string& path, std::string_view extension,
                                          std::string_view missing, std::string_view invalid)
{
    if (path.empty()) {
        return missing;
    }
    if (asciiUpper(lastCharacters(path, extension.size())) != extension) {
        return invalid;
    }
    return std::nullopt;
}

std::optional<std::string_view> validationProblem(const OptionBoard& board)
{
    if (board.value(Box::chkOptimiseAas) == 1) {
        if (auto problem = checkPath(board.aasPath(), ".AAS", kNoAas, kBadAas)) {
            return problem;
        }
    }
    if (board.value(Box::chkOptimiseAas) == 0) {
        return checkPath(board.bspPath(), ".BSP", kNoBsp, kBadBsp);
    }
    return std::nullopt;
}

// The command as the launcher can start it, each path it cannot hand over intact given by another
// name of the same file (option words always reach it as they are). Where there is none, the line asked for
// is still printed before the user is told why nothing runs, as for a compiler that cannot be started.
CommandLine launchableCommand(const CommandLine& composed, const CompileServices& services)
{
    CommandLine command = composed;
    try {
        for (const std::string& argument : composed.arguments) {
            const std::string name = services.launcher.launchableName(argument);
            if (name != argument) {
                command = withPathRenamed(std::move(command), argument, name);
            }
        }
    } catch (...) {
        services.panel.printLine(composed.text);
        throw;
    }
    return command;
}

void composePrintAndLaunch(const OptionBoard& board, CommandLine& currentCommandLine,
                           const CompileServices& services)
{
    const CommandLine command = launchableCommand(composeCommandLine(board, currentCommandLine), services);
    services.panel.printLine(command.text);
    services.launcher.launch(command.program, command.arguments, command.text);
}

void tellUser(MessageBox& messages, std::string_view text)
{
    try {
        messages.showMessage(std::string(text));
    } catch (...) {
        // Nothing is left to tell the user with; the request simply ends.
    }
}

} // namespace

void processFile(const OptionBoard& board, CommandLine& currentCommandLine, const CompileServices& services)
{
    // One trap for every step: whatever fails, the user gets the one fixed message, but for a file
    // name the launcher cannot hand over, which has a message of its own.
    try {
        if (const auto problem = validationProblem(board)) {
            services.messages.showMessage(std::string(*problem));
            return;
        }
        composePrintAndLaunch(board, currentCommandLine, services);
    } catch (const UnnameableFileError&) {
        // The fixed message would be wrong here: the compiler is there, the file's name is not.
        tellUser(services.messages, kUnnameable);
    } catch (...) {
        reportCannotStart(services.messages);
    }
}

void reportCannotStart(MessageBox& messages)
{
    tellUser(messages, kCannotStart);
}
