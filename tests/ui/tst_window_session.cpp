#include "board_text.h"
#include "control_table.h"
#include "fake_services.h"
#include "window_session.h"

#include <QtTest>
#include <algorithm>
#include <array>

namespace {

// Records what the session tells the window to show, by control name.
struct RecordingSurface : ControlSurface {
    QStringList shown;
    void showChecked(std::size_t row, bool checked) override
    {
        record(row, checked ? "checked" : "unchecked");
    }
    void showEnabled(std::size_t row, bool enabled) override
    {
        record(row, enabled ? "enabled" : "disabled");
    }
    void showText(std::size_t row, const std::string& text) override { record(row, "text " + text); }

    void record(std::size_t row, const std::string& what)
    {
        shown << QString::fromStdString(std::string(controlTable()[row].name) + " " + what);
    }
};

struct SessionRig {
    RecordingSurface surface;
    FakeMessageBox messages;
    FakeOutputPanel panel;
    FakeLauncher launcher;
    FakeFileDialog bspDialog;
    FakeFileDialog aasDialog;
    WindowSession session{surface, {messages, panel, launcher, bspDialog, aasDialog}};

    void click(const QString& name) { session.click(rowNamed(name.toStdString()).value()); }
};

} // namespace

class TestWindowSession : public QObject {
    Q_OBJECT

private slots:
    // Every check box shows its own box and every board-held button its own flag: a row that named
    // another would mirror the wrong control.
    void everyRowCarriesItsOwnControl()
    {
        std::array<int, kBoxCount> boxRows{};
        std::array<int, kButtonCount> buttonRows{};
        for (const ControlRow& row : controlTable()) {
            boxRows[row.box ? indexOf(*row.box) : 0] += row.box ? 1 : 0;
            buttonRows[row.button ? indexOf(*row.button) : 0] += row.button ? 1 : 0;
            const QString name = QString::fromUtf8(row.name.data(), qsizetype(row.name.size()));
            QCOMPARE(row.kind == ControlKind::CheckBox, row.box.has_value());
            QCOMPARE(row.kind == ControlKind::CheckBox, row.action == ControlAction::ClickBox);
            if (row.box) {
                QCOMPARE(QString::fromUtf8(controlName(*row.box).data()), name);
            }
            if (row.button) {
                QCOMPARE(QString::fromUtf8(controlName(*row.button).data()), name);
            }
        }
        // Each box and each board-held button has exactly one control to show it.
        QVERIFY(std::ranges::all_of(boxRows, [](int rows) { return rows == 1; }));
        QVERIFY(std::ranges::all_of(buttonRows, [](int rows) { return rows == 1; }));
    }

    // Each click runs its row's action, and the window is told of every change it makes.
    void aClickRunsItsRowsAction_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QStringList>("messages");
        // Openings of the two dialogs, as ten times the BSP dialog's plus the AAS dialog's.
        QTest::addColumn<int>("dialogs");

        QTest::addRow("a box") << QStringList{"chkReach"} << QStringList{"chkReach checked"} << QStringList{}
                               << QStringList{} << 0;
        QTest::addRow("a rule's changes")
            << QStringList{"chkLiquids", "chkConvertToMap"}
            << QStringList{"chkLiquids checked", "chkConvertToMap checked", "chkLiquids unchecked"}
            << QStringList{} << QStringList{} << 0;
        QTest::addRow("an inert box")
            << QStringList{"Check1"} << QStringList{} << QStringList{} << QStringList{} << 0;
        QTest::addRow("select the BSP file")
            << QStringList{"Command2"} << QStringList{"txtFileName text /maps/dm1.bsp"} << QStringList{}
            << QStringList{} << 10;
        QTest::addRow("the AAS button while disabled")
            << QStringList{"cmdSelectAAS"} << QStringList{} << QStringList{} << QStringList{} << 0;
        QTest::addRow("the AAS button in the optimise state")
            << QStringList{"chkOptimiseAas", "cmdSelectAAS"}
            << QStringList{"chkOptimiseAas checked", "Command2 disabled", "cmdSelectAAS enabled",
                           "txtFileName text /maps/dm1.aas"}
            << QStringList{} << QStringList{} << 1;
        QTest::addRow("process without a file") << QStringList{"cmdProcess"} << QStringList{} << QStringList{}
                                                << QStringList{"You must select a .BSP file"} << 0;
        QTest::addRow("display the file name")
            << QStringList{"Command3"} << QStringList{} << QStringList{"", ""} << QStringList{} << 0;
        QTest::addRow("display the command line") << QStringList{"Command4"} << QStringList{}
                                                  << QStringList{"BSPC -bsp2aas \"\""} << QStringList{} << 0;
        QTest::addRow("the panel and the path box")
            << QStringList{"picOut1", "txtFileName"} << QStringList{} << QStringList{} << QStringList{} << 0;
    }

    void aClickRunsItsRowsAction()
    {
        QFETCH(QStringList, clicks);
        SessionRig rig;
        rig.bspDialog.answers = {"/maps/dm1.bsp"};
        rig.aasDialog.answers = {"/maps/dm1.aas"};

        for (const QString& name : clicks) {
            rig.click(name);
        }

        QTEST(rig.surface.shown, "shown");
        QTEST(toQStringList(rig.panel.printed), "printed");
        QTEST(toQStringList(rig.messages.shown), "messages");
        QTEST(rig.bspDialog.openings * 10 + rig.aasDialog.openings, "dialogs");
    }

    void processStartsTheCompilerWithTheLineItPrints()
    {
        SessionRig rig;
        rig.bspDialog.answers = {"/maps/dm1.bsp"};
        rig.click("Command2");
        rig.click("cmdProcess");
        QCOMPARE(rig.launcher.launches.size(), 1u);
        QCOMPARE(rig.launcher.launches[0].title, rig.session.currentCommandLine().text);
        QCOMPARE(toQStringList(rig.panel.printed), QStringList{"BSPC -bsp2aas \"/maps/dm1.bsp\""});
    }
};

QTEST_APPLESS_MAIN(TestWindowSession)
#include "tst_window_session.moc"
