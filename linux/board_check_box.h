#pragma once

#include "controls.h"

#include <QCheckBox>

class OptionBoard;

// A check box that leaves its state to the option board: a click (mouse or Space) becomes the
// board's user click, and the box shows whatever the board then holds, so a click that a rule
// undoes never leaves the box looking checked.
class BoardCheckBox : public QCheckBox {
    Q_OBJECT

public:
    BoardCheckBox(OptionBoard& board, Box box, QWidget* parent);

protected:
    void nextCheckState() override;

private:
    OptionBoard& m_board;
    Box m_box;
};
