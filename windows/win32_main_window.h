#pragma once

#include "keyboard_navigation.h"
#include "win32_api.h"
#include "window_controls.h"
#include "window_layout.h"
#include "window_session.h"

#include <memory>
#include <optional>
#include <string_view>

// The program's only window on Windows: the table's controls at their places, scaled to the
// monitor's DPI, showing the window session's board and forwarding every click to it. Its main
// makes the services, which may need the window as their owner, and hands them over with serve();
// the window then owns the session, and so the board and the current command line, and its output
// panel, for its whole life.
class Win32MainWindow : private ControlSurface {
public:
    // Each control's identifier is this plus its row in the table, so tools can name it.
    static constexpr int kFirstControlId = WindowControls::kFirstControlId;
    // The window class, by which tools find the window.
    static constexpr wchar_t kClassName[] = L"TarnwickMainWindow";

    explicit Win32MainWindow(HINSTANCE instance);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Starts the session over these services; a click before is ignored.
    void serve(const ProgramServices& services);

    HWND handle() const { return m_window; }
    // The control of that name in the table, or null.
    HWND control(std::string_view name) const { return m_controls->named(name); }
    const OptionBoard& board() const { return m_session->board(); }
    const CommandLine& currentCommandLine() const { return m_session->currentCommandLine(); }
    const OutputPanelWindow& outputPanel() const { return m_controls->panel(); }

    // Lays the window out for a DPI: its client size, every control's place and the font.
    void applyDpi(int dpi) { m_layout.apply(m_window, *m_controls, dpi); }

    // Shows the window and delivers its messages, keyboard navigation included, until it closes;
    // then the session ends.
    int run(int showCommand);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(WPARAM wParam);
    void onDpiChanged(int dpi, const RECT& suggested);

    void showChecked(std::size_t row, bool checked) override;
    void showEnabled(std::size_t row, bool enabled) override;
    void showText(std::size_t row, const std::string& text) override;

    HWND m_window = nullptr;
    std::optional<WindowControls> m_controls;
    WindowLayout m_layout;
    std::optional<KeyboardNavigation> m_keyboard;
    // Last, so that it goes first: it calls the services and shows on the controls.
    std::unique_ptr<WindowSession> m_session;
};
