#pragma once

#include <string>

// Prints each text as one line below the previous one; nothing ever clears it.
class OutputPanel {
public:
    virtual ~OutputPanel() = default;
    virtual void printLine(const std::string& text) = 0;

protected:
    OutputPanel() = default;
    OutputPanel(const OutputPanel&) = default;
    OutputPanel& operator=(const OutputPanel&) = default;
};
