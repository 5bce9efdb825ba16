#include "window_session.h"

#include "command_line_composer.h"
#include "compile_request.h"
#include "control_table.h"
#include "file_buttons.h"

WindowSession::WindowSession(ControlSurface& surface, const WindowServices& services)
    : m_surface(surface)
    , m_services(services)
    , m_currentCommandLine(initialCommandLine())
{
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].box) {
            m_boxRows[indexOf(*rows[row].box)] = row;
        }
        if (rows[row].button) {
            m_buttonRows[indexOf(*rows[row].button)] = row;
        }
        if (rows[row].showsPath) {
            m_pathRow = row;
        }
    }
    m_board.addObserver(this);
}

WindowSession::~WindowSession()
{
    m_board.removeObserver(this);
}

void WindowSession::click(std::size_t row)
{
    const ControlRow& clicked = controlTable()[row];
    // A control shown disabled may still deliver a click that was on its way.
    if (clicked.button && !m_board.isEnabled(*clicked.button)) {
        return;
    }
    switch (clicked.action) {
    case ControlAction::ClickBox:
        m_board.click(*clicked.box);
        break;
    case ControlAction::SelectBspFile:
        selectBspFile(m_board, m_services.bspDialog);
        break;
    case ControlAction::SelectAasFile:
        selectAasFile(m_board, m_services.aasDialog);
        break;
    case ControlAction::ProcessFile:
        processFile(m_board, m_currentCommandLine,
                    {m_services.messages, m_services.panel, m_services.launcher});
        break;
    case ControlAction::DisplayFileName:
        displayFileName(m_board, m_services.panel);
        break;
    case ControlAction::DisplayCommandLine:
        displayCommandLine(m_board, m_currentCommandLine, m_services.panel);
        break;
    case ControlAction::None:
        break;
    }
}

void WindowSession::boxValueChanged(Box box, int value)
{
    m_surface.showChecked(m_boxRows[indexOf(box)], value == 1);
}

void WindowSession::buttonEnabledChanged(Button button, bool enabled)
{
    m_surface.showEnabled(m_buttonRows[indexOf(button)], enabled);
}

void WindowSession::displayedPathChanged(const std::string& path)
{
    m_surface.showText(m_pathRow, path);
}
