#include "board_invariants.h"
#include "board_text.h"
#include "command_line_composer.h"
#include "option_board.h"

#include <QtTest>
#include <random>

namespace {

const std::string kBsp = "/maps/q3 dm1.bsp";
const std::string kAas = "/maps/q3 dm1.aas";

// Records every notification as one short text, in the order it arrived.
class RecordingObserver : public BoardObserver {
public:
    QStringList events;
    void boxValueChanged(Box box, int value) override
    {
        events << QString::fromLatin1(controlName(box)) + QLatin1Char('=') + QString::number(value);
    }
    void buttonEnabledChanged(Button button, bool enabled) override
    {
        events << QString::fromLatin1(controlName(button)) + QString::fromLatin1(enabled ? " on" : " off");
    }
    void displayedPathChanged(const std::string& path) override
    {
        events << QStringLiteral("path ") + QString::fromStdString(path);
    }
};

QString checkedBoxes(const OptionBoard& board)
{
    QStringList names;
    for (Box box : kAllBoxes) {
        if (board.value(box) == 1) {
            names << QString::fromLatin1(controlName(box));
        }
    }
    return names.join(QLatin1Char(' '));
}

void clickAll(OptionBoard& board, const QString& names)
{
    for (Box box : boxesNamed(names)) {
        board.click(box);
    }
}

} // namespace

class TestOptionBoard : public QObject {
    Q_OBJECT

private slots:
    void startsWithEverythingOffAndOnlySelectAasDisabled()
    {
        const OptionBoard board;
        QCOMPARE(checkedBoxes(board), QString());
        for (Box box : kAllBoxes) {
            QCOMPARE(board.isEnabled(box), !isInert(box));
        }
        QVERIFY(board.isEnabled(Button::Command2));
        QVERIFY(!board.isEnabled(Button::cmdSelectAAS));
        QVERIFY(board.isEnabled(Button::cmdProcess));
        QVERIFY(board.bspPath().empty() && board.aasPath().empty() && board.displayedPath().empty());
    }

    void clicksEndInTheRightState_data()
    {
        QTest::addColumn<QString>("aas");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<bool>("selectBspEnabled");
        QTest::addColumn<bool>("selectAasEnabled");
        QTest::addColumn<QString>("displayed");
        const QString bsp = QString::fromStdString(kBsp);
        const QString aas = QString::fromStdString(kAas);
        const QString shown = QStringLiteral("shown");

        QTest::addRow("guard undoes a build option while converting to map")
            << aas << "chkConvertToMap chkNoCsg"
            << "chkConvertToMap" << true << false << shown;
        QTest::addRow("guard undoes a build option while recalculating")
            << aas << "chkReach chkOutput"
            << "chkReach" << true << false << bsp;
        QTest::addRow("guard undoes a build option while optimising")
            << aas << "chkOptimiseAas chkLiquids"
            << "chkOptimiseAas" << false << true << aas;
        QTest::addRow("a mode clears every build option")
            << aas << "chkOutput chkLiquids chkBrushMerge chkFreeTree chkNoCsg chkReach"
            << "chkReach" << true << false << bsp;
        QTest::addRow("unchecking a mode leaves the build options off")
            << aas << "chkFreeTree chkConvertToMap chkConvertToMap"
            << "" << true << false << shown;
        QTest::addRow("optimise then reach leaves the buttons as outside optimise")
            << aas << "chkOptimiseAas chkReach"
            << "chkReach" << true << false << bsp;
        QTest::addRow("optimise then convert shows the BSP path")
            << aas << "chkOptimiseAas chkConvertToMap"
            << "chkConvertToMap" << true << false << bsp;
        QTest::addRow("reach then optimise shows the AAS path") << aas << "chkReach chkOptimiseAas"
                                                                << "chkOptimiseAas" << false << true << aas;
        QTest::addRow("reach then convert keeps the BSP path") << aas << "chkReach chkConvertToMap"
                                                               << "chkConvertToMap" << true << false << bsp;
        QTest::addRow("convert then optimise") << aas << "chkConvertToMap chkOptimiseAas"
                                               << "chkOptimiseAas" << false << true << aas;
        QTest::addRow("optimise with no AAS chosen shows nothing") << ""
                                                                   << "chkOptimiseAas"
                                                                   << "chkOptimiseAas" << false << true << "";
        QTest::addRow("unchecking optimise by hand shows the BSP path")
            << aas << "chkOptimiseAas chkOptimiseAas"
            << "" << true << false << bsp;
        QTest::addRow("convert from no mode leaves the displayed path")
            << aas << "chkConvertToMap"
            << "chkConvertToMap" << true << false << shown;
        QTest::addRow("processors survives every mode change")
            << aas << "chkProcessors chkReach chkOptimiseAas chkConvertToMap chkConvertToMap"
            << "chkProcessors" << true << false << bsp;
        QTest::addRow("build options combine freely without a mode")
            << aas << "chkOutput chkNoCsg chkProcessors"
            << "chkProcessors chkOutput chkNoCsg" << true << false << shown;
        QTest::addRow("inert boxes ignore clicks") << aas << "Check1 Check3 Check4"
                                                   << "" << true << false << shown;
    }

    void clicksEndInTheRightState()
    {
        QFETCH(QString, aas);
        QFETCH(QString, clicks);
        OptionBoard board;
        board.setBspPath(kBsp);
        board.setAasPath(aas.toStdString());
        board.setDisplayedPath("shown");

        clickAll(board, clicks);

        QTEST(checkedBoxes(board), "checked");
        QTEST(board.isEnabled(Button::Command2), "selectBspEnabled");
        QTEST(board.isEnabled(Button::cmdSelectAAS), "selectAasEnabled");
        QVERIFY(board.isEnabled(Button::cmdProcess));
        QTEST(QString::fromStdString(board.displayedPath()), "displayed");
    }

    // The nested order of the rules is visible to the window; these pin it down.
    void notificationsFollowTheNestedRuleOrder_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QStringList>("events");
        const QString bspEvent = QStringLiteral("path ") + QString::fromStdString(kBsp);
        const QString aasEvent = QStringLiteral("path ") + QString::fromStdString(kAas);

        QTest::addRow("reach clears optimise, whose rule runs inside")
            << "chkOptimiseAas"
            << "chkReach"
            << QStringList{"chkReach=1", "chkOptimiseAas=0", "Command2 on", "cmdSelectAAS off", bspEvent};
        QTest::addRow("optimise from no mode")
            << "chkOutput chkNoCsg chkConvertToMap chkConvertToMap"
            << "chkOptimiseAas"
            << QStringList{"chkOptimiseAas=1", "Command2 off", "cmdSelectAAS on", aasEvent};
        QTest::addRow("optimise clears convert before showing the AAS path")
            << "chkFreeTree chkConvertToMap"
            << "chkOptimiseAas"
            << QStringList{"chkOptimiseAas=1", "Command2 off", "cmdSelectAAS on", "chkConvertToMap=0",
                           aasEvent};
        QTest::addRow("convert clears build options in their fixed order")
            << "chkLiquids chkOutput chkNoCsg"
            << "chkConvertToMap"
            << QStringList{"chkConvertToMap=1", "chkOutput=0", "chkLiquids=0", "chkNoCsg=0"};
        QTest::addRow("guard undoes the click at once")
            << "chkReach"
            << "chkBrushMerge" << QStringList{"chkBrushMerge=1", "chkBrushMerge=0"};
        QTest::addRow("unchecking optimise by hand")
            << "chkOptimiseAas"
            << "chkOptimiseAas"
            << QStringList{"chkOptimiseAas=0", "Command2 on", "cmdSelectAAS off", bspEvent};
        QTest::addRow("a click on a disabled box tells nothing") << ""
                                                                 << "Check1" << QStringList{};
    }

    void notificationsFollowTheNestedRuleOrder()
    {
        QFETCH(QString, before);
        QFETCH(QString, clicks);
        OptionBoard board;
        board.setBspPath(kBsp);
        board.setAasPath(kAas);
        clickAll(board, before);
        RecordingObserver observer;
        board.addObserver(&observer);

        clickAll(board, clicks);

        QTEST(observer.events, "events");
        board.removeObserver(&observer);
    }

    void setValueAcceptsOnlyZeroAndOne()
    {
        OptionBoard board;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, board.setValue(Box::chkReach, 2));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, board.setValue(Box::chkReach, -1));
        QCOMPARE(board.value(Box::chkReach), 0);
    }

    // Thousands of random click sequences, as a user could make them through the window, with the
    // invariants checked after every step.
    void randomClicksKeepTheInvariants()
    {
        std::mt19937 random(20261208);
        const std::vector<std::string> paths{
            "", "a", "/m/x.bsp", "/m/y.AAS", "/m/quote\" -nocsg \".bsp", "/m/blank s/é.bsp"};
        for (int sequence = 0; sequence < 2000; ++sequence) {
            OptionBoard board;
            int processors = 0;
            for (int step = 0; step < 30; ++step) {
                const auto action = random() % (kBoxCount + 2);
                const std::string& path = paths[random() % paths.size()];
                if (action < kBoxCount) {
                    const Box box = kAllBoxes[action];
                    processors ^= (box == Box::chkProcessors) ? 1 : 0;
                    board.click(box);
                } else {
                    chooseFileThroughButton(board, action == kBoxCount, path);
                }
                const std::optional<std::string> broken = brokenBoardInvariant(board, processors);
                QVERIFY2(!broken, broken.value_or("").c_str());
                if (QTest::currentTestFailed()) {
                    qWarning("sequence %d, step %d", sequence, step);
                    return;
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestOptionBoard)
#include "tst_option_board.moc"
