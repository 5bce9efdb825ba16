// Micro benchmarks of the logic: composing a command line, and a click whose rules nest.
#include "command_line_composer.h"
#include "option_board.h"

#include <QtTest>

class MicroLogic : public QObject {
    Q_OBJECT

private slots:
    void composeWithEveryOption()
    {
        OptionBoard board;
        board.setBspPath("/home/mapper/.q3a/baseq3/maps/some long map name.bsp");
        for (Box box : {Box::chkProcessors, Box::chkOutput, Box::chkLiquids, Box::chkBrushMerge,
                        Box::chkFreeTree, Box::chkNoCsg}) {
            board.click(box);
        }
        CommandLine current;
        QBENCHMARK
        {
            composeCommandLine(board, current);
        }
        QCOMPARE(current.arguments.size(), 9u);
    }

    // Optimise on, then reach: the reach rule clears optimise, whose rule runs inside it.
    void clickThatNestsRules()
    {
        OptionBoard board;
        board.setBspPath("/maps/a.bsp");
        board.setAasPath("/maps/a.aas");
        QBENCHMARK
        {
            board.click(Box::chkOptimiseAas);
            board.click(Box::chkReach);
        }
        QCOMPARE(board.value(Box::chkReach), 1);
    }
};

QTEST_APPLESS_MAIN(MicroLogic)
#include "micro_logic.moc"
