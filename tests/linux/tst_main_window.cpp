#include "board_text.h"
#include "output_panel_widget.h"
#include "qt_message_box.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    WindowFixture m_fixture;
    const std::unique_ptr<MainWindow>& m_window = m_fixture.window;

    template <typename T> T* control(const char* name) { return m_fixture.control<T>(name); }

    void showAndActivate()
    {
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

private slots:
    void init() { m_fixture.rebuild(); }

    void cleanup()
    {
        m_fixture.window.reset();
        QTRY_VERIFY(noWindowLeftOpen());
    }

    void startsWithEveryControlInItsInitialState()
    {
        QCOMPARE(m_window->windowTitle(), "Tarnwick v0.05");
        QCOMPARE(m_window->size(), QSize(328, 286));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QVERIFY(!(m_window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(m_window->windowFlags() & Qt::WindowCloseButtonHint);
        for (QCheckBox* box : m_window->findChildren<QCheckBox*>()) {
            QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
            const bool inert = QStringList{"Check1", "Check3", "Check4"}.contains(box->objectName());
            QCOMPARE(box->isEnabled(), !inert);
        }
        QCOMPARE(m_window->findChildren<QCheckBox*>().size(), 12);
        QVERIFY(control<QPushButton>("Command2")->isEnabled());
        QVERIFY(control<QPushButton>("cmdProcess")->isEnabled());
        QVERIFY(!control<QPushButton>("cmdSelectAAS")->isEnabled());
        QVERIFY(control<QLineEdit>("txtFileName")->text().isEmpty());
        QVERIFY(control<QLineEdit>("txtFileName")->isReadOnly());
        QCOMPARE(m_window->currentCommandLine().text, std::string("BSPC -bsp2aas "));
        QVERIFY(!m_window->windowIcon().isNull());
    }

    void showsTheExactTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addRow("Command2") << "Command2"
                                  << "Select .BSP file"
                                  << "Select a Quake3 .BSP file for .AAS conversion";
        QTest::addRow("cmdProcess") << "cmdProcess"
                                    << "Process file"
                                    << "Do the .AAS compile now.";
        QTest::addRow("chkProcessors") << "chkProcessors"
                                       << "Dual Processors. (NT only)"
                                       << "Enables the use of dual processors to speed compiling of the .AAS";
        QTest::addRow("Check3") << "Check3"
                                << "Enable optimisation"
                                << "";
        QTest::addRow("chkOutput") << "chkOutput"
                                   << "Disable output."
                                   << "Disabled output of .AAS data (DOS box only)";
        QTest::addRow("Check4") << "Check4"
                                << "Breath first BSP building"
                                << "";
        QTest::addRow("chkBrushMerge") << "chkBrushMerge"
                                       << "Dont merge brushes"
                                       << "";
        QTest::addRow("chkLiquids") << "chkLiquids"
                                    << "Dont write liquids to map"
                                    << "Water, slime and lava brushes won't be written.";
        QTest::addRow("chkFreeTree") << "chkFreeTree"
                                     << "Free the BSP tree"
                                     << "";
        QTest::addRow("chkNoCsg") << "chkNoCsg"
                                  << "Disable brush chopping"
                                  << "Brush overlap won't be removed.";
        QTest::addRow("chkReach") << "chkReach"
                                  << "Recalculate reachabilities"
                                  << "Calculate reachabilities only in a current .AAS";
        QTest::addRow("chkConvertToMap") << "chkConvertToMap"
                                         << "Convert BSP to .MAP"
                                         << "Convert a Quake3 .BSP to a Q3 .MAP file";
        QTest::addRow("Check1") << "Check1"
                                << "Compute clusters"
                                << "";
        QTest::addRow("chkOptimiseAas") << "chkOptimiseAas"
                                        << "Optimise .AAS file"
                                        << "";
        QTest::addRow("cmdSelectAAS") << "cmdSelectAAS"
                                      << "Select .AAS file"
                                      << "";
        QTest::addRow("Command3") << "Command3"
                                  << "Display file name/path"
                                  << "";
        QTest::addRow("Command4") << "Command4"
                                  << "Display command line"
                                  << "";
    }

    void showsTheExactTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QAbstractButton* button = control<QAbstractButton>(qPrintable(name));
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), toolTip);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
        QCOMPARE(accessible->text(QAccessible::Name), caption);
        QCOMPARE(accessible->text(QAccessible::Description), toolTip);
    }

    void textBoxAndPanelHaveAccessibleNames()
    {
        for (const char* name : {"txtFileName", "picOut1"}) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control<QWidget>(name));
            QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(), name);
        }
    }

    void offScreenControlsExistButTakeNoFocus()
    {
        const QRect client = m_window->rect();
        for (const char* name : {"picOut1", "Command3", "Command4"}) {
            QWidget* widget = control<QWidget>(name);
            QVERIFY2(!client.intersects(widget->geometry()), name);
            QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
        }
    }

    void tabFollowsTheTableSkippingDisabledControls()
    {
        showAndActivate();
        control<QWidget>("Command2")->setFocus();
        const QStringList expected{"cmdProcess",      "chkProcessors",  "chkOutput",   "chkBrushMerge",
                                   "chkLiquids",      "chkFreeTree",    "chkNoCsg",    "chkReach",
                                   "chkConvertToMap", "chkOptimiseAas", "txtFileName", "Command2"};
        QStringList visited;
        for (qsizetype step = 0; step < expected.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void spaceOnAFocusedControlIsAClick()
    {
        showAndActivate();
        QWidget* box = control<QWidget>("chkProcessors");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(m_window->board().value(Box::chkProcessors), 1);
        QVERIFY(control<QCheckBox>("chkProcessors")->isChecked());

        QWidget* process = control<QWidget>("cmdProcess");
        process->setFocus();
        QTest::keyClick(process, Qt::Key_Space);
        QCOMPARE(toQStringList(m_fixture.messages.shown), QStringList{"You must select a .BSP file"});
    }

    void boxesShowWhatTheBoardHolds_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("checked");
        QTest::addRow("guard undoes a build option") << "chkConvertToMap chkNoCsg"
                                                     << "chkConvertToMap";
        QTest::addRow("mode clears build options") << "chkOutput chkLiquids chkReach"
                                                   << "chkReach";
        QTest::addRow("modes exclude each other") << "chkReach chkOptimiseAas chkConvertToMap"
                                                  << "chkConvertToMap";
        QTest::addRow("processors stays") << "chkProcessors chkOptimiseAas"
                                          << "chkProcessors chkOptimiseAas";
        QTest::addRow("plain toggling") << "chkFreeTree chkFreeTree chkBrushMerge"
                                        << "chkBrushMerge";
    }

    void boxesShowWhatTheBoardHolds()
    {
        QFETCH(QString, clicks);
        QFETCH(QString, checked);
        m_fixture.clickAll(clicks);
        const QStringList expected = checked.split(' ');
        for (Box box : kAllBoxes) {
            const QString name = QString::fromLatin1(controlName(box));
            QCOMPARE(control<QCheckBox>(qPrintable(name))->isChecked(), expected.contains(name));
            QCOMPARE(m_window->board().value(box), expected.contains(name) ? 1 : 0);
        }
    }

    void buttonsAndFileNameFollowTheOptimiseState()
    {
        m_fixture.bspDialog.answers = {"/maps/a.bsp"};
        m_fixture.aasDialog.answers = {"/maps/a.aas"};
        m_fixture.click("Command2");
        m_fixture.click("chkOptimiseAas");
        QVERIFY(!control<QPushButton>("Command2")->isEnabled());
        QVERIFY(control<QPushButton>("cmdSelectAAS")->isEnabled());
        QCOMPARE(control<QLineEdit>("txtFileName")->text(), QString());

        m_fixture.click("cmdSelectAAS");
        QCOMPARE(control<QLineEdit>("txtFileName")->text(), "/maps/a.aas");

        m_fixture.click("chkReach");
        QVERIFY(control<QPushButton>("Command2")->isEnabled());
        QVERIFY(control<QPushButton>("cmdProcess")->isEnabled());
        QVERIFY(!control<QPushButton>("cmdSelectAAS")->isEnabled());
        QCOMPARE(control<QLineEdit>("txtFileName")->text(), "/maps/a.bsp");
    }

    void processRunsTheRequest()
    {
        m_fixture.bspDialog.answers = {"/maps/a b.bsp"};
        m_fixture.click("Command2");
        m_fixture.click("chkProcessors");
        m_fixture.click("cmdProcess");
        QVERIFY(m_fixture.messages.shown.empty());
        QCOMPARE(m_window->outputPanel().lines(), QStringList{"BSPC -bsp2aas \"/maps/a b.bsp\" -threads 2"});
        QCOMPARE(m_fixture.launcher.launches.size(), 1u);
        QCOMPARE(toQStringList(m_fixture.launcher.launches[0].arguments),
                 (QStringList{"-bsp2aas", "/maps/a b.bsp", "-threads", "2"}));
    }

    // The real message box: modal, titled "tarnwick", one OK button, no icon.
    void processWithNothingChosenShowsTheRealMessageBox()
    {
        MainWindow window;
        QtMessageBox messages(&window);
        window.serve({messages, m_fixture.launcher, m_fixture.bspDialog, m_fixture.aasDialog});
        window.show();
        QString title, text;
        int buttons = 0;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                title = box->windowTitle();
                text = box->text();
                buttons = int(box->buttons().size());
                icon = box->icon();
                box->button(QMessageBox::Ok)->click();
            }
        });
        QPushButton* process = window.findChild<QPushButton*>("cmdProcess");
        QTest::mouseClick(process, Qt::LeftButton);
        QCOMPARE(title, "tarnwick");
        QCOMPARE(text, "You must select a .BSP file");
        QCOMPARE(buttons, 1);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY(window.outputPanel().lines().isEmpty());
        QVERIFY(m_fixture.launcher.launches.empty());
    }

    // The layout is fixed, so the font must let every visible caption fit its control.
    void everyVisibleCaptionFits()
    {
        const QRect client = m_window->rect();
        for (QWidget* widget : m_window->findChildren<QAbstractButton*>()) {
            if (!client.contains(widget->geometry())) {
                continue;
            }
            const QSize needed = widget->sizeHint();
            QVERIFY2(needed.width() <= widget->width() && needed.height() <= widget->height(),
                     qPrintable(QStringLiteral("%1 needs %2x%3, has %4x%5")
                                    .arg(widget->objectName())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(widget->width())
                                    .arg(widget->height())));
        }
    }
};

TARNWICK_WIDGET_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
