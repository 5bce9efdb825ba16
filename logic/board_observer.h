#pragma once

#include "controls.h"

#include <string>

// Told of every actual change on the option board, one call per change, in the order the rules
// make them, so that a view can repaint just the control concerned.
class BoardObserver {
public:
    virtual ~BoardObserver() = default;
    virtual void boxValueChanged(Box box, int value) = 0;
    virtual void buttonEnabledChanged(Button button, bool enabled) = 0;
    virtual void displayedPathChanged(const std::string& path) = 0;

protected:
    BoardObserver() = default;
    BoardObserver(const BoardObserver&) = default;
    BoardObserver& operator=(const BoardObserver&) = default;
};
