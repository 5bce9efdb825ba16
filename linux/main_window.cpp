#include "main_window.h"

#include "board_check_box.h"
#include "command_line_composer.h"
#include "compile_request.h"
#include "control_widgets.h"
#include "file_buttons.h"
#include "open_file_dialog.h"
#include "output_panel_widget.h"
#include "process_launcher.h"
#include "qt_message_box.h"

#include <QIcon>
#include <QLineEdit>
#include <QPushButton>

MainWindow::MainWindow()
    : MainWindow(Services{})
{
}

MainWindow::MainWindow(Services services)
    : m_currentCommandLine(initialCommandLine())
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromUtf8(kWindowTitle.data(), qsizetype(kWindowTitle.size())));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/tarnwick-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/tarnwick-32.png"), QSize(32, 32));
    setWindowIcon(icon);

    createControls();
    createServices(services);
    m_board.addObserver(this);
}

MainWindow::~MainWindow()
{
    m_board.removeObserver(this);
}

void MainWindow::createControls()
{
    QWidget* previous = nullptr;
    for (const ControlRow& row : controlTable()) {
        QWidget* control = createControl(row);
        control->setObjectName(toQString(row.name));
        control->setGeometry(pixelGeometry(row));
        control->setToolTip(toQString(row.toolTip));
        control->setAccessibleDescription(toQString(row.toolTip));
        control->setEnabled(row.enabled);
        if (isOffScreen(row)) {
            control->setFocusPolicy(Qt::NoFocus);
        } else if (previous != nullptr) {
            setTabOrder(previous, control);
        }
        if (!isOffScreen(row)) {
            previous = control;
        }
    }
}

QWidget* MainWindow::createControl(const ControlRow& row)
{
    switch (row.kind) {
    case ControlKind::Button: {
        auto* button = new QPushButton(toQString(row.caption), this);
        button->setAccessibleName(toQString(row.caption));
        button->setAutoDefault(false);
        connectButton(button, row.name);
        return button;
    }
    case ControlKind::CheckBox: {
        const Box box = boxNamed(row.name).value();
        auto* checkBox = new BoardCheckBox(m_board, box, this);
        checkBox->setText(toQString(row.caption));
        checkBox->setAccessibleName(toQString(row.caption));
        m_boxes[indexOf(box)] = checkBox;
        return checkBox;
    }
    case ControlKind::TextBox:
        // Read-only: nothing ever reads what is typed here, so typing would only mislead.
        m_fileName = new QLineEdit(this);
        m_fileName->setReadOnly(true);
        m_fileName->setAccessibleName(QStringLiteral("Selected file"));
        return m_fileName;
    case ControlKind::OutputPanel:
        m_panel = new OutputPanelWidget(this);
        m_panel->setAccessibleName(QStringLiteral("Output"));
        return m_panel;
    }
    return nullptr;
}

void MainWindow::connectButton(QPushButton* button, std::string_view name)
{
    if (const auto id = buttonNamed(name)) {
        m_buttons[indexOf(*id)] = button;
    }
    static constexpr std::array<std::pair<std::string_view, void (MainWindow::*)()>, 5> handlers{{
        {"Command2", &MainWindow::selectBsp},
        {"cmdSelectAAS", &MainWindow::selectAas},
        {"cmdProcess", &MainWindow::process},
        {"Command3", &MainWindow::displayName},
        {"Command4", &MainWindow::displayCommand},
    }};
    for (const auto& [handlerName, handler] : handlers) {
        if (handlerName == name) {
            connect(button, &QPushButton::clicked, this, handler);
        }
    }
}

void MainWindow::createServices(Services services)
{
    if (services.messages == nullptr) {
        m_ownedMessages = std::make_unique<QtMessageBox>(this);
        services.messages = m_ownedMessages.get();
    }
    if (services.launcher == nullptr) {
        m_ownedLauncher = std::make_unique<ProcessLauncher>();
        services.launcher = m_ownedLauncher.get();
    }
    if (services.bspDialog == nullptr) {
        auto* dialog = new OpenFileDialog(this, QStringLiteral("Select Quake3 BSP"),
                                          OpenFileDialog::quake3MapDirectory());
        dialog->setObjectName(QStringLiteral("CommonDialog1"));
        services.bspDialog = dialog;
    }
    if (services.aasDialog == nullptr) {
        auto* dialog = new OpenFileDialog(this, QString(), QString());
        dialog->setObjectName(QStringLiteral("CommonDialog2"));
        services.aasDialog = dialog;
    }
    m_messages = services.messages;
    m_launcher = services.launcher;
    m_bspDialog = services.bspDialog;
    m_aasDialog = services.aasDialog;
}

void MainWindow::boxValueChanged(Box box, int value)
{
    m_boxes[indexOf(box)]->setChecked(value == 1);
}

void MainWindow::buttonEnabledChanged(Button button, bool enabled)
{
    m_buttons[indexOf(button)]->setEnabled(enabled);
}

void MainWindow::displayedPathChanged(const std::string& path)
{
    m_fileName->setText(QString::fromStdString(path));
}

void MainWindow::selectBsp()
{
    selectBspFile(m_board, *m_bspDialog);
}

void MainWindow::selectAas()
{
    selectAasFile(m_board, *m_aasDialog);
}

void MainWindow::process()
{
    processFile(m_board, m_currentCommandLine, {*m_messages, *m_panel, *m_launcher});
}

void MainWindow::displayName()
{
    displayFileName(m_board, *m_panel);
}

void MainWindow::displayCommand()
{
    displayCommandLine(m_board, m_currentCommandLine, *m_panel);
}
