// Feeds sequences of clicks on any box (enabled or not) and file choices to the option board and
// checks its invariants after every step.
#include "board_invariants.h"
#include "fuzz_require.h"

#include <cstddef>
#include <cstdint>
#include <string>

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
            // A file choice through the file button the byte picks, where that button is enabled; the
            // next bytes are the path.
            const std::size_t length = at < size ? data[at++] % 16 : 0;
            const std::size_t taken = length < size - at ? length : size - at;
            const std::string path(reinterpret_cast<const char*>(data + at), taken);
            at += taken;
            chooseFileThroughButton(board, action == kBoxCount, path);
        }
        require(!brokenBoardInvariant(board, processors));
    }
    CommandLine current;
    composeCommandLine(board, current);
    return 0;
}
