#pragma once

#include "board_observer.h"
#include "command_line.h"
#include "option_board.h"

#include <array>
#include <cstddef>
#include <string>

class FileDialog;
class MessageBox;
class OutputPanel;
class ProgramLauncher;

// What a front end's window shows for its session: the state of the control in a table row.
class ControlSurface {
public:
    virtual ~ControlSurface() = default;
    virtual void showChecked(std::size_t row, bool checked) = 0;
    virtual void showEnabled(std::size_t row, bool enabled) = 0;
    virtual void showText(std::size_t row, const std::string& text) = 0;

protected:
    ControlSurface() = default;
    ControlSurface(const ControlSurface&) = default;
    ControlSurface& operator=(const ControlSurface&) = default;
};

// The platform services a session calls; none is owned.
struct WindowServices {
    MessageBox& messages;
    OutputPanel& panel;
    ProgramLauncher& launcher;
    FileDialog& bspDialog;
    FileDialog& aasDialog;
};

// The services a program's main makes and hands to its window, which adds its output panel; a test
// hands it scripted fakes. None is owned by the window.
struct ProgramServices {
    MessageBox& messages;
    ProgramLauncher& launcher;
    FileDialog& bspDialog;
    FileDialog& aasDialog;
};

// The main window apart from any toolkit: it owns the option board and currentCommandLine, runs
// the action a table row carries when its control is clicked, and tells the surface what to show
// whenever the board changes. A front end only makes its controls from the table, forwards each
// click by row, and shows what it is told.
class WindowSession : private BoardObserver {
public:
    WindowSession(ControlSurface& surface, const WindowServices& services);
    ~WindowSession() override;
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    // A click on the control in that row; one on a control the board holds disabled does nothing.
    void click(std::size_t row);

    const OptionBoard& board() const { return m_board; }
    const CommandLine& currentCommandLine() const { return m_currentCommandLine; }

private:
    void boxValueChanged(Box box, int value) override;
    void buttonEnabledChanged(Button button, bool enabled) override;
    void displayedPathChanged(const std::string& path) override;

    ControlSurface& m_surface;
    WindowServices m_services;
    OptionBoard m_board;
    CommandLine m_currentCommandLine;
    std::array<std::size_t, kBoxCount> m_boxRows{};
    std::array<std::size_t, kButtonCount> m_buttonRows{};
    std::size_t m_pathRow = 0;
};
