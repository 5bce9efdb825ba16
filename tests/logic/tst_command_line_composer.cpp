#include "board_text.h"
#include "command_line_composer.h"
#include "option_board.h"

#include <QtTest>

class TestCommandLineComposer : public QObject {
    Q_OBJECT

private slots:
    void composesEachCommandForm_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("bsp");
        QTest::addColumn<QString>("aas");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("arguments");
        const QString bsp = QStringLiteral("/maps/q3dm1.bsp");
        const QString aas = QStringLiteral("/maps/q3dm1.aas");

        QTest::addRow("nothing chosen") << ""
                                        << ""
                                        << ""
                                        << "BSPC -bsp2aas \"\"" << QStringList{"-bsp2aas", ""};
        QTest::addRow("conversion, no options")
            << "" << bsp << aas << "BSPC -bsp2aas \"/maps/q3dm1.bsp\"" << QStringList{"-bsp2aas", bsp};
        QTest::addRow("all six options come in their fixed order")
            << "chkNoCsg chkFreeTree chkBrushMerge chkLiquids chkOutput chkProcessors" << bsp << aas
            << "BSPC -bsp2aas \"/maps/q3dm1.bsp\" -threads 2 -noverbose -noliquids -nobrushmerge -freetree "
               "-nocsg"
            << QStringList{"-bsp2aas",      bsp,         "-threads", "2", "-noverbose", "-noliquids",
                           "-nobrushmerge", "-freetree", "-nocsg"};
        QTest::addRow("processors and liquids")
            << "chkLiquids chkProcessors" << bsp << aas
            << "BSPC -bsp2aas \"/maps/q3dm1.bsp\" -threads 2 -noliquids"
            << QStringList{"-bsp2aas", bsp, "-threads", "2", "-noliquids"};
        QTest::addRow("reachability")
            << "chkReach" << bsp << aas << "BSPC -reach \"/maps/q3dm1.bsp\"" << QStringList{"-reach", bsp};
        QTest::addRow("reachability on two processors")
            << "chkProcessors chkReach" << bsp << aas << "BSPC -reach \"/maps/q3dm1.bsp\" -threads 2"
            << QStringList{"-reach", bsp, "-threads", "2"};
        QTest::addRow("optimise uses the AAS path only")
            << "chkProcessors chkOptimiseAas" << bsp << aas << "BSPC -aasopt \"/maps/q3dm1.aas\" -threads 2"
            << QStringList{"-aasopt", aas, "-threads", "2"};
        QTest::addRow("optimise with no AAS chosen") << "chkOptimiseAas" << bsp << ""
                                                     << "BSPC -aasopt \"\"" << QStringList{"-aasopt", ""};
        QTest::addRow("convert to map") << "chkOutput chkConvertToMap chkProcessors" << bsp << aas
                                        << "BSPC -bsp2map \"/maps/q3dm1.bsp\" -threads 2"
                                        << QStringList{"-bsp2map", bsp, "-threads", "2"};
        QTest::addRow("a path with blanks stays whole inside the quotes")
            << ""
            << "/home/me/my maps/dm 1.bsp"
            << ""
            << "BSPC -bsp2aas \"/home/me/my maps/dm 1.bsp\""
            << QStringList{"-bsp2aas", "/home/me/my maps/dm 1.bsp"};
        QTest::addRow("a double quote in a path is text, never options")
            << ""
            << "/m/a\" -nocsg \"b.bsp"
            << ""
            << "BSPC -bsp2aas \"/m/a\" -nocsg \"b.bsp\"" << QStringList{"-bsp2aas", "/m/a\" -nocsg \"b.bsp"};
        QTest::addRow("non-ASCII letters pass unchanged")
            << ""
            << "/m/Karte-äöü-地图.bsp"
            << ""
            << "BSPC -bsp2aas \"/m/Karte-äöü-地图.bsp\"" << QStringList{"-bsp2aas", "/m/Karte-äöü-地图.bsp"};
    }

    void composesEachCommandForm()
    {
        QFETCH(QString, clicks);
        QFETCH(QString, bsp);
        QFETCH(QString, aas);
        OptionBoard board;
        prepareBoard(board, clicks, bsp, aas);
        CommandLine current = initialCommandLine();

        const CommandLine& composed = composeCommandLine(board, current);

        QCOMPARE(&composed, &current);
        QTEST(QString::fromStdString(current.text), "text");
        QCOMPARE(current.program, std::string("BSPC"));
        QTEST(toQStringList(current.arguments), "arguments");
    }

    void composingTwiceGivesTheSameLineWhateverWasHeld()
    {
        OptionBoard board;
        board.setBspPath("/m/a.bsp");
        board.click(Box::chkNoCsg);
        CommandLine current{"stale text", "stale", {"x", "y"}};

        const CommandLine first = composeCommandLine(board, current);
        const CommandLine second = composeCommandLine(board, current);

        QCOMPARE(first, second);
        QCOMPARE(current.text, std::string("BSPC -bsp2aas \"/m/a.bsp\" -nocsg"));
    }

    void holdsTheConversionStartBeforeAnyComposition()
    {
        const CommandLine initial = initialCommandLine();
        QCOMPARE(initial.text, std::string("BSPC -bsp2aas "));
        QCOMPARE(initial.program, std::string("BSPC"));
        QCOMPARE(toQStringList(initial.arguments), QStringList{"-bsp2aas"});
    }
};

QTEST_APPLESS_MAIN(TestCommandLineComposer)
#include "tst_command_line_composer.moc"
