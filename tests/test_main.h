#pragma once

#include <QApplication>
#include <QtTest>

// Widget tests run without a display unless the caller chose a platform.
#define TARNWICK_WIDGET_TEST_MAIN(TestClass)                                                                 \
    int main(int argc, char** argv) {                                                                        \
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {                                                 \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                         \
        }                                                                                                    \
        QApplication app(argc, argv);                                                                        \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
