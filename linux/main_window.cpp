#include "main_window.h"

#include "board_check_box.h"
#include "control_widgets.h"
#include "output_panel_widget.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>

MainWindow::MainWindow()
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
}

MainWindow::~MainWindow() = default;

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_session.reset();
    QWidget::closeEvent(event);
}

void MainWindow::serve(const ProgramServices& services)
{
    m_session = std::make_unique<WindowSession>(static_cast<ControlSurface&>(*this),
                                                WindowServices{services.messages, *m_panel, services.launcher,
                                                               services.bspDialog, services.aasDialog});
}

void MainWindow::createControls()
{
    QWidget* previous = nullptr;
    const auto rows = controlTable();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const ControlRow& row = rows[index];
        QWidget* control = createControl(row, index);
        m_controls.push_back(control);
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

QWidget* MainWindow::createControl(const ControlRow& row, std::size_t index)
{
    const auto forwardClick = [this, index] {
        if (m_session) {
            m_session->click(index);
        }
    };
    switch (row.kind) {
    case ControlKind::Button: {
        auto* button = new QPushButton(toQString(row.caption), this);
        button->setAccessibleName(toQString(row.caption));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, forwardClick);
        return button;
    }
    case ControlKind::CheckBox: {
        auto* checkBox = new BoardCheckBox(toQString(row.caption), this);
        checkBox->setAccessibleName(toQString(row.caption));
        connect(checkBox, &QCheckBox::clicked, this, forwardClick);
        return checkBox;
    }
    case ControlKind::TextBox: {
        // Read-only: nothing ever reads what is typed here, so typing would only mislead.
        auto* fileName = new QLineEdit(this);
        fileName->setReadOnly(true);
        fileName->setAccessibleName(QStringLiteral("Selected file"));
        return fileName;
    }
    case ControlKind::OutputPanel:
        m_panel = new OutputPanelWidget(this);
        m_panel->setAccessibleName(QStringLiteral("Output"));
        return m_panel;
    }
    return nullptr;
}

void MainWindow::showChecked(std::size_t row, bool checked)
{
    static_cast<QCheckBox*>(m_controls[row])->setChecked(checked);
}

void MainWindow::showEnabled(std::size_t row, bool enabled)
{
    m_controls[row]->setEnabled(enabled);
}

void MainWindow::showText(std::size_t row, const std::string& text)
{
    static_cast<QLineEdit*>(m_controls[row])->setText(QString::fromStdString(text));
}
