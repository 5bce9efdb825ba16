#pragma once

#include "board_observer.h"
#include "controls.h"

#include <array>
#include <string>
#include <vector>

// What the user has set on the main window, kept apart from any widget, with the rules that keep
// the three run modes exclusive and the build options off while a mode is chosen.
//
// Values are 0 or 1. Setting a box to a different value stores it and runs the box's rule at once,
// so rules nest: a rule that changes another box runs that box's rule before carrying on.
class OptionBoard {
public:
    OptionBoard() = default;

    int value(Box box) const { return m_values[indexOf(box)]; }
    bool isEnabled(Box box) const { return !isInert(box); }
    bool isEnabled(Button button) const { return m_buttonEnabled[indexOf(button)]; }
    const std::string& bspPath() const { return m_bspPath; }
    const std::string& aasPath() const { return m_aasPath; }
    const std::string& displayedPath() const { return m_displayedPath; }

    // The single way a value changes; throws std::invalid_argument for anything but 0 or 1.
    void setValue(Box box, int value);
    // A user's click: toggles an enabled box, ignores a disabled one.
    void click(Box box);

    void setBspPath(std::string path) { m_bspPath = std::move(path); }
    void setAasPath(std::string path) { m_aasPath = std::move(path); }
    void setDisplayedPath(const std::string& path);

    // Observers are not owned and must outlive the board or unsubscribe; they must not
    // (un)subscribe from inside a notification.
    void addObserver(BoardObserver* observer);
    void removeObserver(BoardObserver* observer);

private:
    void runRule(Box box);
    void guardRule(Box buildOption);
    void convertToMapRule();
    void reachRule();
    void optimiseRule();
    void clearBuildOptions();
    void setButtonEnabled(Button button, bool enabled);

    std::array<int, kBoxCount> m_values{};
    std::array<bool, kButtonCount> m_buttonEnabled{true, false, true};
    std::string m_bspPath;
    std::string m_aasPath;
    std::string m_displayedPath;
    std::vector<BoardObserver*> m_observers;
};
