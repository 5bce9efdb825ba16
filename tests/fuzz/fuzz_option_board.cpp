// Feeds sequences of clicks on any box (enabled or not) and file choices to the option board and
// checks its invariants after every step.
#include "command_line_composer.h"
#include "option_board.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void checkInvariants(const OptionBoard& board, int processors)
{
    int modes = 0;
    for (Box mode : kModeBoxes) {
        require(board.value(mode) == 0 || board.value(mode) == 1);
        modes += board.value(mode);
    }
    require(modes <= 1);
    for (Box option : kBuildOptions) {
        require(modes == 0 || board.value(option) == 0);
    }
    for (Box inert : kInertBoxes) {
        require(board.value(inert) == 0);
    }
    require(board.value(Box::chkProcessors) == processors);
    const bool optimising = board.value(Box::chkOptimiseAas) == 1;
    require(board.isEnabled(Button::Command2) == !optimising);
    require(board.isEnabled(Button::cmdSelectAAS) == optimising);
    require(board.isEnabled(Button::cmdProcess));
    require(board.displayedPath() == (optimising ? board.aasPath() : board.bspPath()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    OptionBoard board;
    int processors = 0;
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t op = data[at++];
        const std::size_t action = op % (kBoxCount + 2);
        if (action < kBoxCount) {
            const Box box = kAllBoxes[action];
            processors ^= box == Box::chkProcessors ? 1 : 0;
            board.click(box);
        } else {
            // A file choice through whichever file button is enabled: the next bytes are the path.
            const std::size_t length = at < size ? data[at++] % 16 : 0;
            const std::size_t taken = length < size - at ? length : size - at;
            const std::string path(reinterpret_cast<const char*>(data + at), taken);
            at += taken;
            const bool bspButton = action == kBoxCount;
            if (board.isEnabled(bspButton ? Button::Command2 : Button::cmdSelectAAS)) {
                bspButton ? board.setBspPath(path) : board.setAasPath(path);
                board.setDisplayedPath(path);
            }
        }
        checkInvariants(board, processors);
    }
    CommandLine current;
    composeCommandLine(board, current);
    return 0;
}
