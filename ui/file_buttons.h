#pragma once

#include "command_line.h"

class FileDialog;
class OptionBoard;
class OutputPanel;

// What the two file buttons and the two display buttons do. The dialogs are the only source of
// the BSP and AAS paths; a cancel copies whatever the dialog then holds, without a message.
void selectBspFile(OptionBoard& board, FileDialog& dialog);
void selectAasFile(OptionBoard& board, FileDialog& dialog);

// Prints the BSP path, then its last four characters as they are.
void displayFileName(const OptionBoard& board, OutputPanel& panel);

// Composes the command line into currentCommandLine and prints it; validates and launches nothing.
void displayCommandLine(const OptionBoard& board, CommandLine& currentCommandLine, OutputPanel& panel);
