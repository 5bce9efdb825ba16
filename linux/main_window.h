#pragma once

#include "board_observer.h"
#include "command_line.h"
#include "control_table.h"
#include "option_board.h"

#include <QWidget>
#include <array>
#include <memory>

class BoardCheckBox;
class FileDialog;
class MessageBox;
class OutputPanelWidget;
class ProgramLauncher;
class QLineEdit;
class QPushButton;

// The program's only window: a fixed layout of buttons and check boxes that mirrors the option
// board and runs the compile request. It owns the board, the current command line, both file
// dialogs and the output panel for its whole life.
class MainWindow : public QWidget, private BoardObserver {
    Q_OBJECT

public:
    // Services left null are the real ones; tests pass scripted fakes, which they keep owning.
    struct Services {
        MessageBox* messages = nullptr;
        ProgramLauncher* launcher = nullptr;
        FileDialog* bspDialog = nullptr;
        FileDialog* aasDialog = nullptr;
    };

    MainWindow();
    explicit MainWindow(Services services);
    ~MainWindow() override;

    const OptionBoard& board() const { return m_board; }
    const CommandLine& currentCommandLine() const { return m_currentCommandLine; }
    const OutputPanelWidget& outputPanel() const { return *m_panel; }

private:
    void createControls();
    QWidget* createControl(const ControlRow& row);
    void createServices(Services services);
    void connectButton(QPushButton* button, std::string_view name);

    void boxValueChanged(Box box, int value) override;
    void buttonEnabledChanged(Button button, bool enabled) override;
    void displayedPathChanged(const std::string& path) override;

    void selectBsp();
    void selectAas();
    void process();
    void displayName();
    void displayCommand();

    OptionBoard m_board;
    CommandLine m_currentCommandLine;
    std::unique_ptr<MessageBox> m_ownedMessages;
    std::unique_ptr<ProgramLauncher> m_ownedLauncher;
    MessageBox* m_messages = nullptr;
    ProgramLauncher* m_launcher = nullptr;
    FileDialog* m_bspDialog = nullptr;
    FileDialog* m_aasDialog = nullptr;
    OutputPanelWidget* m_panel = nullptr;
    QLineEdit* m_fileName = nullptr;
    std::array<BoardCheckBox*, kBoxCount> m_boxes{};
    std::array<QPushButton*, kButtonCount> m_buttons{};
};
