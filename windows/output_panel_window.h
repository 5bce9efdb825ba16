#pragma once

#include "output_panel.h"
#include "win32_api.h"

#include <string>
#include <vector>

// The output panel: a child window that shows each printed text as one line below the last, from
// the top, never scrolled and never cleared. Its window text holds every line, one per row, so
// that a tool reading the window sees what was printed.
class OutputPanelWindow : public OutputPanel {
public:
    OutputPanelWindow(HWND parent, int controlId);

    void printLine(const std::string& text) override;

    HWND handle() const { return m_window; }
    const std::vector<std::wstring>& lines() const { return m_lines; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HWND window) const;

    HWND m_window = nullptr;
    std::vector<std::wstring> m_lines;
};
