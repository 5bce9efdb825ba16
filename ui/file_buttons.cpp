#include "file_buttons.h"

#include "command_line_composer.h"
#include "file_dialog.h"
#include "option_board.h"
#include "output_panel.h"
#include "path_text.h"

void selectBspFile(OptionBoard& board, FileDialog& dialog)
{
    const std::string chosen = dialog.chooseFile();
    board.setBspPath(chosen);
    board.setDisplayedPath(chosen);
}

void selectAasFile(OptionBoard& board, FileDialog& dialog)
{
    const std::string chosen = dialog.chooseFile();
    board.setAasPath(chosen);
    board.setDisplayedPath(chosen);
}

void displayFileName(const OptionBoard& board, OutputPanel& panel)
{
    panel.printLine(board.bspPath());
    panel.printLine(std::string(lastCharacters(board.bspPath(), 4)));
}

void displayCommandLine(const OptionBoard& board, CommandLine& currentCommandLine, OutputPanel& panel)
{
    panel.printLine(composeCommandLine(board, currentCommandLine).text);
}
