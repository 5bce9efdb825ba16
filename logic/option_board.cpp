#include "option_board.h"

#include <algorithm>
#include <stdexcept>

void OptionBoard::setValue(Box box, int value)
{
    if (value != 0 && value != 1) {
        throw std::invalid_argument("a check box holds 0 or 1");
    }
    int& stored = m_values[indexOf(box)];
    if (stored == value) {
        return;
    }
    stored = value;
    for (BoardObserver* observer : m_observers) {
        observer->boxValueChanged(box, value);
    }
    runRule(box);
}

void OptionBoard::click(Box box)
{
    if (!isEnabled(box)) {
        return;
    }
    setValue(box, value(box) == 0 ? 1 : 0);
}

void OptionBoard::setDisplayedPath(const std::string& path)
{
    if (m_displayedPath == path) {
        return;
    }
    m_displayedPath = path;
    for (BoardObserver* observer : m_observers) {
        observer->displayedPathChanged(m_displayedPath);
    }
}

void OptionBoard::addObserver(BoardObserver* observer)
{
    if (observer != nullptr &&
        std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end()) {
        m_observers.push_back(observer);
    }
}

void OptionBoard::removeObserver(BoardObserver* observer)
{
    std::erase(m_observers, observer);
}

void OptionBoard::runRule(Box box)
{
    switch (box) {
    case Box::chkOutput:
    case Box::chkLiquids:
    case Box::chkBrushMerge:
    case Box::chkFreeTree:
    case Box::chkNoCsg:
        guardRule(box);
        break;
    case Box::chkConvertToMap:
        convertToMapRule();
        break;
    case Box::chkReach:
        reachRule();
        break;
    case Box::chkOptimiseAas:
        optimiseRule();
        break;
    case Box::chkProcessors:
    case Box::Check1:
    case Box::Check3:
    case Box::Check4:
        break;
    }
}

void OptionBoard::guardRule(Box buildOption)
{
    const bool modeChosen = std::ranges::any_of(kModeBoxes, [this](Box mode) { return value(mode) == 1; });
    if (modeChosen) {
        setValue(buildOption, 0);
    }
}

void OptionBoard::convertToMapRule()
{
    if (value(Box::chkConvertToMap) != 1) {
        return;
    }
    clearBuildOptions();
    setValue(Box::chkReach, 0);
    setValue(Box::chkOptimiseAas, 0);
}

void OptionBoard::reachRule()
{
    if (value(Box::chkReach) != 1) {
        return;
    }
    clearBuildOptions();
    setValue(Box::chkOptimiseAas, 0);
    setValue(Box::chkConvertToMap, 0);
    setDisplayedPath(m_bspPath);
}

// Two checks in sequence: the second reads the box afresh, so it also runs when another mode box
// has just cleared optimise from inside its own rule.
void OptionBoard::optimiseRule()
{
    if (value(Box::chkOptimiseAas) == 1) {
        setButtonEnabled(Button::Command2, false);
        setButtonEnabled(Button::cmdSelectAAS, true);
        clearBuildOptions();
        setValue(Box::chkReach, 0);
        setValue(Box::chkConvertToMap, 0);
        setDisplayedPath(m_aasPath);
    }
    if (value(Box::chkOptimiseAas) == 0) {
        setButtonEnabled(Button::Command2, true);
        setButtonEnabled(Button::cmdProcess, true);
        setButtonEnabled(Button::cmdSelectAAS, false);
        setDisplayedPath(m_bspPath);
    }
}

void OptionBoard::clearBuildOptions()
{
    for (Box option : kBuildOptions) {
        setValue(option, 0);
    }
}

void OptionBoard::setButtonEnabled(Button button, bool enabled)
{
    bool& stored = m_buttonEnabled[indexOf(button)];
    if (stored == enabled) {
        return;
    }
    stored = enabled;
    for (BoardObserver* observer : m_observers) {
        observer->buttonEnabledChanged(button, enabled);
    }
}
