// Arbitrary bytes, invalid UTF-8 and NULs included, as the BSP and AAS paths: composition and the
// compile request must keep the path as one unchanged argument, the "last characters" of a path
// must fall on a character boundary, and the console must watch the file the launched line writes.
#include "command_line_composer.h"
#include "compile_request.h"
#include "fuzz_require.h"
#include "message_box.h"
#include "option_board.h"
#include "output_panel.h"
#include "path_text.h"
#include "program_launcher.h"
#include "run_outputs.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct CountingMessages : MessageBox {
    int shown = 0;
    void showMessage(const std::string&) override { ++shown; }
};

struct RecordingPanel : OutputPanel {
    std::string last;
    int printed = 0;
    void printLine(const std::string& text) override
    {
        last = text;
        ++printed;
    }
};

struct RecordingLauncher : ProgramLauncher {
    std::vector<std::string> arguments;
    std::string title;
    int launches = 0;
    void launch(const std::string&, const std::vector<std::string>& given, const std::string& shown) override
    {
        arguments = given;
        title = shown;
        ++launches;
    }
};

// Character boundaries found front to back, independently of the back-to-front search under test.
std::vector<std::size_t> boundaries(const std::string& text)
{
    std::vector<std::size_t> starts;
    std::size_t at = 0;
    while (at < text.size()) {
        starts.push_back(at);
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80                    ? 1
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 1;
        bool whole = at + length <= text.size();
        for (std::size_t i = 1; whole && i < length; ++i) {
            whole = (static_cast<unsigned char>(text[at + i]) & 0xC0) == 0x80;
        }
        at += whole ? length : 1;
    }
    return starts;
}

void checkLastCharacters(const std::string& path)
{
    const std::string_view tail = lastCharacters(path, 4);
    require(tail.size() <= path.size());
    require(tail.data() == path.data() + (path.size() - tail.size()));
    const std::vector<std::size_t> starts = boundaries(path);
    const std::size_t count = starts.size() < 4 ? starts.size() : 4;
    const std::size_t expectedStart = count == 0 ? path.size() : starts[starts.size() - count];
    require(path.size() - tail.size() == expectedStart);
    require(asciiUpper(tail).size() == tail.size());
}

// The .aas beside the validated map, or the .map named after it in the working folder.
void checkOutputs(const CommandLine& line, const std::string& path)
{
    const RunOutputs outputs = RunOutputs::of(line.arguments, "/q3");
    require(outputs.logFile == "/q3/bspc.log");
    if (path.starts_with('-')) {
        require(!outputs.modeFile);
        return;
    }
    require(outputs.modeFile.has_value());
    const std::string& file = *outputs.modeFile;
    if (line.arguments[0] == "-bsp2map") {
        require(file.starts_with("/q3/") && file.ends_with(".map") &&
                file.find_first_of("/\\.", 4) == file.size() - 4);
        return;
    }
    const std::string aas = path.substr(0, path.size() - 3) + "aas";
    require(file == aas || file == "/q3/" + aas);
}

std::string joined(const CommandLine& line)
{
    std::string text = line.program;
    for (std::size_t i = 0; i < line.arguments.size(); ++i) {
        text += i == 1 ? " \"" + line.arguments[i] + "\"" : " " + line.arguments[i];
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const std::uint8_t clicks = data[0];
    const std::size_t split = size > 2 ? 2 + data[1] % (size - 1) : 2;
    const std::string bsp(reinterpret_cast<const char*>(data + 2), split - 2);
    const std::string aas(reinterpret_cast<const char*>(data + split), size - split);

    OptionBoard board;
    board.setBspPath(bsp);
    board.setAasPath(aas);
    for (unsigned bit = 0; bit < 8; ++bit) {
        if ((clicks >> bit) & 1U) {
            board.click(kAllBoxes[(bit * 5 + clicks) % kBoxCount]);
        }
    }
    const bool optimising = board.value(Box::chkOptimiseAas) == 1;
    const std::string& path = optimising ? aas : bsp;

    CommandLine current;
    const CommandLine& line = composeCommandLine(board, current);
    require(line.program == "BSPC");
    require(line.arguments.size() >= 2 && line.arguments[1] == path);
    require(joined(line) == line.text);
    checkLastCharacters(bsp);
    checkLastCharacters(aas);

    CountingMessages messages;
    RecordingPanel panel;
    RecordingLauncher launcher;
    CommandLine requested = initialCommandLine();
    processFile(board, requested, {messages, panel, launcher});
    require(messages.shown + launcher.launches == 1);
    require(panel.printed == launcher.launches);
    if (launcher.launches == 1) {
        require(panel.last == line.text && launcher.arguments == line.arguments &&
                launcher.title == line.text);
        require(asciiUpper(lastCharacters(path, 4)) == (optimising ? ".AAS" : ".BSP"));
        checkOutputs(line, path);
    }
    return 0;
}
