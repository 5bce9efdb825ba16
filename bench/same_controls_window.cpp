// Baseline: a window with the same kinds of controls at the same places, the same style and font,
// and no logic at all: what a straightforward implementation cannot do without.
#include "appearance.h"
#include "control_table.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}

QWidget* createControl(const ControlSpec& spec, QWidget* parent) {
    switch (spec.kind) {
    case ControlKind::Button:
        return new QPushButton(text(spec.caption), parent);
    case ControlKind::CheckBox:
        return new QCheckBox(text(spec.caption), parent);
    case ControlKind::TextBox:
        return new QLineEdit(parent);
    case ControlKind::OutputPanel:
        break;
    }
    return new QWidget(parent);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    applyAppearance(app);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tarnwick v0.05"));
    window.setFixedSize(328, 286);
    for (const ControlSpec& spec : controlTable()) {
        QWidget* control = createControl(spec, &window);
        control->setGeometry(spec.left / kTwipsPerPixel, spec.top / kTwipsPerPixel,
                             spec.width / kTwipsPerPixel, spec.height / kTwipsPerPixel);
        control->setToolTip(text(spec.toolTip));
        control->setEnabled(spec.enabled);
    }
    window.show();
    return QApplication::exec();
}
