#include "board_check_box.h"

void BoardCheckBox::nextCheckState()
{
    // The mark changes only when the board's observer shows a new value.
}
