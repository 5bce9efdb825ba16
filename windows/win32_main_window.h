#pragma once

#include "control_table.h"
#include "output_panel_window.h"
#include "owned_handle.h"
#include "win32_api.h"
#include "window_session.h"

#include <memory>
#include <string_view>
#include <vector>

class FileDialog;
class MessageBox;
class ProgramLauncher;

// The program's only window on Windows: the table's controls at their places, scaled to the
// monitor's DPI, showing the window session's board and forwarding every click to it. It owns the
// session (and so the board and the current command line), both file dialogs and the output panel
// for its whole life.
class Win32MainWindow : private ControlSurface {
public:
    // Services left null are the real ones; tests pass scripted fakes, which they keep owning.
    using Services = ServiceOverrides;

    // Each control's identifier is this plus its row in the table, so tools can name it.
    static constexpr int kFirstControlId = 100;
    // The window class, by which tools find the window.
    static constexpr wchar_t kClassName[] = L"TarnwickMainWindow";

    explicit Win32MainWindow(HINSTANCE instance);
    Win32MainWindow(HINSTANCE instance, Services services);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    HWND handle() const { return m_window; }
    // The control of that name in the table, or null.
    HWND control(std::string_view name) const;
    const OptionBoard& board() const { return m_session->board(); }
    const CommandLine& currentCommandLine() const { return m_session->currentCommandLine(); }
    const OutputPanelWindow& outputPanel() const { return *m_panel; }

    // Lays the window out for a DPI: its client size, every control's place and the font.
    void applyDpi(int dpi);

    // Shows the window and delivers its messages, keyboard navigation included, until it closes.
    int run(int showCommand);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onActivate(bool active);
    void onDpiChanged(int dpi, const RECT& suggested);
    // Gives a message of the loop to the window's keyboard interface first: Tab and Space as in a
    // dialog, and Return on a push button presses it. False when the message is still to dispatch.
    bool handleKeyboard(MSG& message);
    bool isPushButton(HWND window) const;
    void pressWithReturn(const MSG& keyDown);

    void createControls(HINSTANCE instance);
    HWND createControl(HINSTANCE instance, const ControlRow& row, int id);
    void createToolTips(HINSTANCE instance);
    WindowServices createServices(Services services);

    void showChecked(std::size_t row, bool checked) override;
    void showEnabled(std::size_t row, bool enabled) override;
    void showText(std::size_t row, const std::string& text) override;

    using OwnedFont = OwnedHandle<HFONT, &DeleteObject>;

    HWND m_window = nullptr;
    std::vector<HWND> m_controls;
    HWND m_lastFocus = nullptr;
    std::unique_ptr<OutputPanelWindow> m_panel;
    OwnedFont m_font;
    std::unique_ptr<MessageBox> m_ownedMessages;
    std::unique_ptr<ProgramLauncher> m_ownedLauncher;
    std::unique_ptr<FileDialog> m_ownedBspDialog;
    std::unique_ptr<FileDialog> m_ownedAasDialog;
    // Last, so that it goes first: it calls the services above.
    std::unique_ptr<WindowSession> m_session;
};
