// Baseline: a window with the same kinds of controls at the same places, the same style and font,
// and no logic at all: what a straightforward implementation cannot do without.
#include "appearance.h"
#include "control_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

QWidget* createControl(const ControlRow& row, QWidget* parent)
{
    switch (row.kind) {
    case ControlKind::Button:
        return new QPushButton(toQString(row.caption), parent);
    case ControlKind::CheckBox:
        return new QCheckBox(toQString(row.caption), parent);
    case ControlKind::TextBox:
        return new QLineEdit(parent);
    case ControlKind::OutputPanel:
        break;
    }
    return new QWidget(parent);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    applyAppearance(app);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tarnwick v0.05"));
    window.setFixedSize(328, 286);
    for (const ControlRow& row : controlTable()) {
        QWidget* control = createControl(row, &window);
        control->setGeometry(pixelGeometry(row));
        control->setToolTip(toQString(row.toolTip));
        control->setEnabled(row.enabled);
    }
    window.show();
    return QApplication::exec();
}
