#pragma once

#include "control_table.h"
#include "window_session.h"

#include <QWidget>
#include <memory>
#include <vector>

class FileDialog;
class MessageBox;
class OutputPanelWidget;
class ProgramLauncher;

// The program's only window: the table's controls at their places, showing the window session's
// board and forwarding every click to it. Its main makes the services, which may need the window as
// their parent, and hands them over with serve(); the window then owns the session, and so the
// board and the current command line, until it is closed, and its output panel for its whole life.
class MainWindow : public QWidget, private ControlSurface {
    Q_OBJECT

public:
    MainWindow();
    ~MainWindow() override;

    // Starts the session over these services; a click before is ignored.
    void serve(const ProgramServices& services);

    const OptionBoard& board() const { return m_session->board(); }
    const CommandLine& currentCommandLine() const { return m_session->currentCommandLine(); }
    const OutputPanelWidget& outputPanel() const { return *m_panel; }

protected:
    // The session ends with the window, before the services its main made go.
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QWidget* createControl(const ControlRow& row, std::size_t index);

    void showChecked(std::size_t row, bool checked) override;
    void showEnabled(std::size_t row, bool enabled) override;
    void showText(std::size_t row, const std::string& text) override;

    std::vector<QWidget*> m_controls;
    OutputPanelWidget* m_panel = nullptr;
    std::unique_ptr<WindowSession> m_session;
};
