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

void composePrintAndLaunch(const OptionBoard& board, CommandLine& currentCommandLine,
                           const CompileServices& services)
{
    const CommandLine& command = composeCommandLine(board, currentCommandLine);
    services.panel.printLine(command.text);
    services.launcher.launch(command.program, command.arguments, command.text);
}

} // namespace

void processFile(const OptionBoard& board, CommandLine& currentCommandLine, const CompileServices& services)
{
    // One trap for every step: whatever fails, the user gets the one fixed message.
    try {
        if (const auto problem = validationProblem(board)) {
            services.messages.showMessage(std::string(*problem));
            return;
        }
        composePrintAndLaunch(board, currentCommandLine, services);
    } catch (...) {
        try {
            services.messages.showMessage(std::string(kCannotStart));
        } catch (...) {
            // Nothing is left to tell the user with; the request simply ends.
        }
    }
}
