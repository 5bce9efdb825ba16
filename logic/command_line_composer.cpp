#include "command_line_composer.h"

#include "option_board.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace {

// The compiler's command-line syntax as this program uses it; the blanks are part of the literals.
constexpr std::string_view kConvertStart = "BSPC -bsp2aas ";
constexpr std::string_view kReachStart = "BSPC -reach ";
constexpr std::string_view kOptimiseStart = "BSPC -aasopt ";
constexpr std::string_view kToMapStart = "BSPC -bsp2map ";
constexpr std::string_view kQuote = "\"";
constexpr std::string_view kThreads = " -threads 2";

// One for each of kBuildOptions, in its order: chkOutput, chkLiquids, chkBrushMerge, chkFreeTree,
// chkNoCsg.
constexpr std::array<std::string_view, kBuildOptions.size()> kBuildOptionLiterals{
    " -noverbose", " -noliquids", " -nobrushmerge", " -freetree", " -nocsg"};

// Appends to the text and the argument list in step. A fixed literal splits at its blanks into
// words, as the command-line parser of the compiler's home platform reads it; a quoted path is
// always exactly one argument, whatever it holds.
class CommandBuilder {
public:
    explicit CommandBuilder(std::string_view start) { restart(start); }

    void restart(std::string_view start)
    {
        m_line = CommandLine{};
        m_line.text = start;
        const std::size_t blank = start.find(' ');
        m_line.program = start.substr(0, blank);
        appendWords(start.substr(blank));
    }

    void appendLiteral(std::string_view literal)
    {
        m_line.text += literal;
        appendWords(literal);
    }

    void appendQuotedPath(const std::string& path)
    {
        m_line.text.append(kQuote).append(path).append(kQuote);
        m_line.arguments.push_back(path);
    }

    CommandLine take() { return std::move(m_line); }

private:
    void appendWords(std::string_view literal)
    {
        std::size_t begin = literal.find_first_not_of(' ');
        while (begin != std::string_view::npos) {
            const std::size_t end = literal.find(' ', begin);
            m_line.arguments.emplace_back(literal.substr(begin, end - begin));
            begin = literal.find_first_not_of(' ', end);
        }
    }

    CommandLine m_line;
};

bool isSet(const OptionBoard& board, Box box)
{
    return board.value(box) == 1;
}

void replaceWithMode(CommandBuilder& builder, const OptionBoard& board, std::string_view start,
                     const std::string& path)
{
    builder.restart(start);
    builder.appendQuotedPath(path);
    if (isSet(board, Box::chkProcessors)) {
        builder.appendLiteral(kThreads);
    }
}

} // namespace

const CommandLine& composeCommandLine(const OptionBoard& board, CommandLine& currentCommandLine)
{
    CommandBuilder builder(kConvertStart);
    builder.appendQuotedPath(board.bspPath());
    if (isSet(board, Box::chkProcessors)) {
        builder.appendLiteral(kThreads);
    }
    for (std::size_t option = 0; option < kBuildOptions.size(); ++option) {
        if (isSet(board, kBuildOptions[option])) {
            builder.appendLiteral(kBuildOptionLiterals[option]);
        }
    }
    // Each mode discards what was built before; were several set, the later one wins.
    if (isSet(board, Box::chkReach)) {
        replaceWithMode(builder, board, kReachStart, board.bspPath());
    }
    if (isSet(board, Box::chkOptimiseAas)) {
        replaceWithMode(builder, board, kOptimiseStart, board.aasPath());
    }
    if (isSet(board, Box::chkConvertToMap)) {
        replaceWithMode(builder, board, kToMapStart, board.bspPath());
    }
    currentCommandLine = builder.take();
    return currentCommandLine;
}

CommandLine withPathRenamed(CommandLine command, const std::string& path, const std::string& name)
{
    std::replace(command.arguments.begin(), command.arguments.end(), path, name);
    const std::string quotedPath = std::string(kQuote) + path + std::string(kQuote);
    const std::string quotedName = std::string(kQuote) + name + std::string(kQuote);
    for (std::size_t at = command.text.find(quotedPath); at != std::string::npos;
         at = command.text.find(quotedPath, at + quotedName.size())) {
        command.text.replace(at, quotedPath.size(), quotedName);
    }
    return command;
}

CommandLine initialCommandLine()
{
    return CommandBuilder(kConvertStart).take();
}
