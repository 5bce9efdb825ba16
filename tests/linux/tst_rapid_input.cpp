#include "board_invariants.h"
#include "output_panel_widget.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <random>

// Bursts of clicks through the widgets, as fast as events can be delivered.
class TestRapidInput : public QObject {
    Q_OBJECT

private slots:
    void burstsKeepWidgetsBoardAndLaunchesInStep()
    {
        WindowFixture fixture;
        fixture.rebuild();
        MainWindow& window = *fixture.window;
        FakeFileDialog& bspDialog = fixture.bspDialog;
        FakeFileDialog& aasDialog = fixture.aasDialog;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QList<QAbstractButton*> controls = window.findChildren<QAbstractButton*>();
        const std::vector<std::optional<std::string>> answers{"/m/a.bsp", "/m/a.aas", std::nullopt, "",
                                                              "/m/x"};
        std::mt19937 random(7);
        int processClicks = 0;
        for (int click = 0; click < 3000; ++click) {
            QAbstractButton* target = controls[qsizetype(random() % controls.size())];
            bspDialog.answers = {answers[random() % answers.size()]};
            aasDialog.answers = {answers[random() % answers.size()]};
            const bool clickable = target->isEnabled() && target->isVisible();
            processClicks += clickable && target->objectName() == "cmdProcess" ? 1 : 0;
            if (clickable) {
                fixture.click(qPrintable(target->objectName()));
            }
            verifyMirror(window);
            if (QTest::currentTestFailed()) {
                qWarning("after click %d on %s", click, qPrintable(target->objectName()));
                return;
            }
        }

        const qsizetype launchesFromProcess = fixture.launcher.launches.size();
        QCOMPARE(qsizetype(fixture.messages.shown.size()) + launchesFromProcess, qsizetype(processClicks));
        QVERIFY(launchesFromProcess > 0 && !fixture.messages.shown.empty());
        qInfo("%d presses of Process file: %lld compilers started, %lld messages", processClicks,
              qint64(launchesFromProcess), qint64(fixture.messages.shown.size()));
    }

private:
    static void verifyMirror(const MainWindow& window)
    {
        const OptionBoard& board = window.board();
        const std::optional<std::string> broken = brokenBoardInvariant(board);
        QVERIFY2(!broken, broken.value_or("").c_str());
        for (Box box : kAllBoxes) {
            const auto* widget = window.findChild<QCheckBox*>(QString::fromLatin1(controlName(box)));
            QCOMPARE(widget->isChecked(), board.value(box) == 1);
        }
        for (Button button : {Button::Command2, Button::cmdSelectAAS, Button::cmdProcess}) {
            const auto* widget = window.findChild<QPushButton*>(QString::fromLatin1(controlName(button)));
            QCOMPARE(widget->isEnabled(), board.isEnabled(button));
        }
        QCOMPARE(window.findChild<QLineEdit*>("txtFileName")->text(),
                 QString::fromStdString(board.displayedPath()));
    }
};

TARNWICK_WIDGET_TEST_MAIN(TestRapidInput)
#include "tst_rapid_input.moc"
