#pragma once

#include <QCheckBox>

// A check box that leaves its state to the option board: a click (mouse or Space) only reports
// itself, and the box shows whatever the board then holds, so a click that a rule undoes never
// leaves the box looking checked.
class BoardCheckBox : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override;
};
