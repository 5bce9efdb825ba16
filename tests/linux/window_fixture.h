#pragma once

#include "fake_services.h"
#include "main_window.h"
#include "test_main.h"

#include <QAbstractButton>
#include <memory>

// A main window wired to scripted fakes, built afresh for every test function.
class WindowFixture {
public:
    FakeMessageBox messages;
    FakeLauncher launcher;
    FakeFileDialog bspDialog;
    FakeFileDialog aasDialog;
    std::unique_ptr<MainWindow> window;

    void rebuild()
    {
        window.reset();
        messages = {};
        launcher = {};
        bspDialog = {};
        aasDialog = {};
        window = std::make_unique<MainWindow>();
        window->serve({messages, launcher, bspDialog, aasDialog});
    }

    template <typename T> T* control(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("control %s is missing", name);
        }
        return found;
    }

    // A click as a user makes it: the mouse on a control in view, click() on one out of view.
    void click(const char* name) const
    {
        QAbstractButton* button = control<QAbstractButton>(name);
        QVERIFY2(button->isEnabled(), name);
        window->rect().contains(button->geometry()) ? QTest::mouseClick(button, Qt::LeftButton)
                                                    : button->click();
    }

    void clickAll(const QString& names) const
    {
        for (const QString& name : names.split(' ', Qt::SkipEmptyParts)) {
            click(qPrintable(name));
        }
    }
};
