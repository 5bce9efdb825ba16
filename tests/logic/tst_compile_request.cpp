#include "board_text.h"
#include "command_line_composer.h"
#include "compile_request.h"
#include "fake_services.h"
#include "option_board.h"

#include <QtTest>

namespace {

const QString kCannotStart = QStringLiteral("BSPC.exe does not seem to be in the current Directory");
const QString kUnnameable = QStringLiteral(
    "The path of this file holds characters that BSPC cannot be given on this system. Rename the "
    "file, or move it to a folder with a plain name, and try again.");

// A board, the window's current command line and scripted services, for one or more requests.
struct RequestRig {
    OptionBoard board;
    CommandLine current = initialCommandLine();
    FakeMessageBox messages;
    FakeOutputPanel panel;
    FakeLauncher launcher;

    void press() { processFile(board, current, {messages, panel, launcher}); }
};

} // namespace

class TestCompileRequest : public QObject {
    Q_OBJECT

private slots:
    void validatesThenPrintsAndLaunches_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("bsp");
        QTest::addColumn<QString>("aas");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("launched"); // the printed text; empty when nothing was launched

        QTest::addRow("nothing chosen") << ""
                                        << ""
                                        << ""
                                        << "You must select a .BSP file"
                                        << "";
        QTest::addRow("BSP of fewer than four characters") << ""
                                                           << "bsp"
                                                           << ""
                                                           << "You have not selected a valid .BSP"
                                                           << "";
        QTest::addRow("exactly the extension") << ""
                                               << ".bsp"
                                               << ""
                                               << ""
                                               << "BSPC -bsp2aas \".bsp\"";
        QTest::addRow("lower-case extension accepted")
            << "chkProcessors chkLiquids"
            << "/m/a b.bsp"
            << ""
            << ""
            << "BSPC -bsp2aas \"/m/a b.bsp\" -threads 2 -noliquids";
        QTest::addRow("mixed-case extension accepted") << ""
                                                       << "/m/A.BsP"
                                                       << ""
                                                       << ""
                                                       << "BSPC -bsp2aas \"/m/A.BsP\"";
        QTest::addRow("wrong extension") << ""
                                         << "/m/a.map"
                                         << ""
                                         << "You have not selected a valid .BSP"
                                         << "";
        QTest::addRow("extension not at the end") << ""
                                                  << "/m/a.bsp.txt"
                                                  << ""
                                                  << "You have not selected a valid .BSP"
                                                  << "";
        QTest::addRow("reach with an AAS in the BSP path") << "chkReach"
                                                           << "/m/a.aas"
                                                           << "/m/a.aas"
                                                           << "You have not selected a valid .BSP"
                                                           << "";
        QTest::addRow("convert with an AAS in the BSP path") << "chkConvertToMap"
                                                             << "/m/a.aas"
                                                             << ""
                                                             << "You have not selected a valid .BSP"
                                                             << "";
        QTest::addRow("reach with nothing chosen") << "chkReach"
                                                   << ""
                                                   << "/m/a.aas"
                                                   << "You must select a .BSP file"
                                                   << "";
        QTest::addRow("reach") << "chkReach"
                               << "/m/a.bsp"
                               << ""
                               << ""
                               << "BSPC -reach \"/m/a.bsp\"";
        QTest::addRow("convert to map on two processors") << "chkProcessors chkConvertToMap"
                                                          << "/m/a.bsp"
                                                          << ""
                                                          << ""
                                                          << "BSPC -bsp2map \"/m/a.bsp\" -threads 2";
        QTest::addRow("optimise with no AAS") << "chkOptimiseAas"
                                              << "/m/a.bsp"
                                              << ""
                                              << "You must select a .AAS file"
                                              << "";
        QTest::addRow("optimise with a BSP as AAS") << "chkOptimiseAas"
                                                    << "/m/a.bsp"
                                                    << "/m/a.bsp"
                                                    << "You have not selected a valid .AAS"
                                                    << "";
        QTest::addRow("optimise with a short AAS path") << "chkOptimiseAas"
                                                        << ""
                                                        << "AAS"
                                                        << "You have not selected a valid .AAS"
                                                        << "";
        QTest::addRow("optimise ignores an empty BSP path") << "chkOptimiseAas"
                                                            << ""
                                                            << "/m/a.Aas"
                                                            << ""
                                                            << "BSPC -aasopt \"/m/a.Aas\"";
        QTest::addRow("non-ASCII name before the extension") << ""
                                                             << "/m/地图.bsp"
                                                             << ""
                                                             << ""
                                                             << "BSPC -bsp2aas \"/m/地图.bsp\"";
        QTest::addRow("non-ASCII letter inside the last four") << ""
                                                               << "/m/a.bſp"
                                                               << ""
                                                               << "You have not selected a valid .BSP"
                                                               << "";
    }

    void validatesThenPrintsAndLaunches()
    {
        QFETCH(QString, clicks);
        QFETCH(QString, bsp);
        QFETCH(QString, aas);
        QFETCH(QString, message);
        QFETCH(QString, launched);
        RequestRig rig;
        prepareBoard(rig.board, clicks, bsp, aas);
        const FakeMessageBox& messages = rig.messages;
        const FakeOutputPanel& panel = rig.panel;
        const FakeLauncher& launcher = rig.launcher;
        const CommandLine& current = rig.current;

        rig.press();

        QCOMPARE(toQStringList(messages.shown), message.isEmpty() ? QStringList{} : QStringList{message});
        if (launched.isEmpty()) {
            QVERIFY(panel.printed.empty());
            QVERIFY(launcher.launches.empty());
            QCOMPARE(current, initialCommandLine());
            return;
        }
        QCOMPARE(toQStringList(panel.printed), QStringList{launched});
        QCOMPARE(QString::fromStdString(current.text), launched);
        QCOMPARE(launcher.launches.size(), 1u);
        QCOMPARE(launcher.launches[0].program, current.program);
        QCOMPARE(launcher.launches[0].arguments, current.arguments);
    }

    void everyOtherFailureEndsInTheOneMessage_data()
    {
        QTest::addColumn<bool>("launchFails");
        QTest::addColumn<QStringList>("printed");
        QTest::addRow("the launch fails after printing") << true << QStringList{"BSPC -bsp2aas \"/m/a.bsp\""};
        QTest::addRow("printing fails before launching") << false << QStringList{};
    }

    void everyOtherFailureEndsInTheOneMessage()
    {
        QFETCH(bool, launchFails);
        RequestRig rig;
        rig.board.setBspPath("/m/a.bsp");
        rig.launcher.failing = launchFails;
        rig.panel.failing = !launchFails;

        rig.press();

        QCOMPARE(toQStringList(rig.messages.shown), QStringList{kCannotStart});
        QTEST(toQStringList(rig.panel.printed), "printed");
        QVERIFY(rig.launcher.launches.empty());
        QCOMPARE(rig.current.text, std::string("BSPC -bsp2aas \"/m/a.bsp\""));
    }

    // A path the platform cannot hand over intact runs under another name of the same file, or not
    // at all; either way the user sees the line meant and no other.
    void pathsThePlatformCannotGiveAsTheyAre_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<bool>("haveOtherNames");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QStringList>("launched"); // program and arguments; empty when none ran
        QTest::addColumn<QStringList>("shown");

        QTest::addRow("another name")
            << "chkProcessors" << true << QStringList{"BSPC -bsp2aas \"/M~1/a.bsp\" -threads 2"}
            << QStringList{"BSPC", "-bsp2aas", "/M~1/a.bsp", "-threads", "2"} << QStringList{};
        QTest::addRow("optimise, another name")
            << "chkOptimiseAas" << true << QStringList{"BSPC -aasopt \"/M~1/a.aas\""}
            << QStringList{"BSPC", "-aasopt", "/M~1/a.aas"} << QStringList{};
        QTest::addRow("no name at all")
            << "chkProcessors" << false << QStringList{"BSPC -bsp2aas \"/m\u00e9/a.bsp\" -threads 2"}
            << QStringList{} << QStringList{kUnnameable};
    }

    void pathsThePlatformCannotGiveAsTheyAre()
    {
        QFETCH(QString, clicks);
        QFETCH(bool, haveOtherNames);
        RequestRig rig;
        prepareBoard(rig.board, clicks, QStringLiteral("/m\u00e9/a.bsp"), QStringLiteral("/m\u00e9/a.aas"));
        for (const char* extension : {"bsp", "aas"}) {
            const std::string other = std::string("/M~1/a.") + extension;
            rig.launcher.otherNames[std::string("/m\xc3\xa9/a.") + extension] =
                haveOtherNames ? std::optional(other) : std::nullopt;
        }

        rig.press();

        QTEST(toQStringList(rig.panel.printed), "printed");
        QStringList launched;
        for (const auto& launch : rig.launcher.launches) {
            launched << QString::fromStdString(launch.program) << toQStringList(launch.arguments);
            QVERIFY(!rig.panel.printed.empty());
            QCOMPARE(launch.title, rig.panel.printed.front());
        }
        QTEST(launched, "launched");
        QTEST(toQStringList(rig.messages.shown), "shown");
    }

    void severalPressesStartSeveralCompilers()
    {
        RequestRig rig;
        rig.board.setBspPath("/m/a.bsp");

        for (int press = 0; press < 3; ++press) {
            rig.press();
        }

        QCOMPARE(rig.launcher.launches.size(), 3u);
        QCOMPARE(rig.panel.printed.size(), 3u);
        QVERIFY(rig.messages.shown.empty());
    }
};

QTEST_APPLESS_MAIN(TestCompileRequest)
#include "tst_compile_request.moc"
