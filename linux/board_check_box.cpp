#include "board_check_box.h"

#include "option_board.h"

BoardCheckBox::BoardCheckBox(OptionBoard& board, Box box, QWidget* parent)
    : QCheckBox(parent)
    , m_board(board)
    , m_box(box)
{
}

void BoardCheckBox::nextCheckState()
{
    m_board.click(m_box);
    // The board's observer has already mirrored any change; this covers a click the board ignored.
    setChecked(m_board.value(m_box) == 1);
}
