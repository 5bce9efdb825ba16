#pragma once

#include "control_table.h"
#include "output_panel_window.h"
#include "win32_api.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// The table's controls as child windows of the main window, each with the identifier
// kFirstControlId plus its row so that tools can name it, and their tool tips; the output panel is
// among them.
class WindowControls {
public:
    static constexpr int kFirstControlId = 100;

    WindowControls(HWND window, HINSTANCE instance);

    HWND at(std::size_t row) const { return m_controls[row]; }
    // The control of that name in the table, or null.
    HWND named(std::string_view name) const;
    // The row of a control of the table's, by its identifier.
    std::optional<std::size_t> rowOf(int id) const;
    bool isPushButton(HWND control) const;
    std::size_t count() const { return m_controls.size(); }
    OutputPanelWindow& panel() { return *m_panel; }
    const OutputPanelWindow& panel() const { return *m_panel; }

private:
    HWND create(HWND window, HINSTANCE instance, const ControlRow& row, int id);
    void createToolTips(HWND window, HINSTANCE instance);

    std::vector<HWND> m_controls;
    std::unique_ptr<OutputPanelWindow> m_panel;
};
