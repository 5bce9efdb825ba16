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
// board and forwarding every click to it. It owns the session (and so the board and the current
// command line), both file dialogs and the output panel for its whole life.
class MainWindow : public QWidget, private ControlSurface {
    Q_OBJECT

public:
    // Services left null are the real ones; tests pass scripted fakes, which they keep owning.
    using Services = ServiceOverrides;

    MainWindow();
    explicit MainWindow(Services services);
    ~MainWindow() override;

    const OptionBoard& board() const { return m_session->board(); }
    const CommandLine& currentCommandLine() const { return m_session->currentCommandLine(); }
    const OutputPanelWidget& outputPanel() const { return *m_panel; }

private:
    void createControls();
    QWidget* createControl(const ControlRow& row, std::size_t index);
    WindowServices createServices(Services services);

    void showChecked(std::size_t row, bool checked) override;
    void showEnabled(std::size_t row, bool enabled) override;
    void showText(std::size_t row, const std::string& text) override;

    std::unique_ptr<MessageBox> m_ownedMessages;
    std::unique_ptr<ProgramLauncher> m_ownedLauncher;
    std::vector<QWidget*> m_controls;
    OutputPanelWidget* m_panel = nullptr;
    // Last, so that it goes first: it calls the services above.
    std::unique_ptr<WindowSession> m_session;
};
