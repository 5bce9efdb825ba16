#pragma once

#include "appearance.h"

#include <QApplication>
#include <QtTest>

// Window tests run without a display unless the caller chose a platform, and with the same style
// and font the program sets for itself.
#define TARNWICK_WIDGET_TEST_MAIN(TestClass)                                                                 \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {                                                 \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                         \
        }                                                                                                    \
        QApplication app(argc, argv);                                                                        \
        applyAppearance(app);                                                                                \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

// True once no top-level window is left showing.
inline bool noWindowLeftOpen()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::none_of(windows.begin(), windows.end(), [](QWidget* window) { return window->isVisible(); });
}
