#include "output_panel_widget.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

using Answers = QList<QString>; // "<cancel>" stands for a cancelled dialog

class TestFileButtons : public QObject {
    Q_OBJECT

private:
    WindowFixture m_fixture;
    const std::unique_ptr<MainWindow>& m_window = m_fixture.window;

    void click(const char* name) { m_fixture.click(name); }

    static std::deque<std::optional<std::string>> script(const Answers& answers)
    {
        std::deque<std::optional<std::string>> scripted;
        for (const QString& answer : answers) {
            scripted.push_back(answer == "<cancel>" ? std::nullopt : std::optional(answer.toStdString()));
        }
        return scripted;
    }

    QString fileNameBox() const { return m_window->findChild<QLineEdit*>("txtFileName")->text(); }
    QStringList printed() const { return m_window->outputPanel().lines(); }

private slots:
    void init() { m_fixture.rebuild(); }

    void cleanup()
    {
        m_fixture.window.reset();
        QTRY_VERIFY(noWindowLeftOpen());
    }

    void selectingABspFillsPathAndFileNameBox_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QString>("expected");
        QTest::addRow("a pick") << Answers{"/maps/dm1.bsp"} << "/maps/dm1.bsp";
        QTest::addRow("a cancel before any pick") << Answers{"<cancel>"} << "";
        QTest::addRow("a cancel after a pick keeps it")
            << Answers{"/maps/dm1.bsp", "<cancel>"} << "/maps/dm1.bsp";
        QTest::addRow("a second pick replaces the first")
            << Answers{"/maps/dm1.bsp", "/maps/dm2.bsp"} << "/maps/dm2.bsp";
    }

    void selectingABspFillsPathAndFileNameBox()
    {
        QFETCH(Answers, answers);
        QFETCH(QString, expected);
        m_fixture.bspDialog.answers = script(answers);
        click("chkProcessors");
        click("chkNoCsg");

        for (qsizetype opening = 0; opening < answers.size(); ++opening) {
            click("Command2");
        }

        QCOMPARE(m_fixture.bspDialog.openings, int(answers.size()));
        QCOMPARE(QString::fromStdString(m_window->board().bspPath()), expected);
        QCOMPARE(fileNameBox(), expected);
        QVERIFY(m_window->findChild<QCheckBox*>("chkProcessors")->isChecked());
        QVERIFY(m_window->findChild<QCheckBox*>("chkNoCsg")->isChecked());
        QVERIFY(m_window->board().aasPath().empty());
        QVERIFY(printed().isEmpty() && m_fixture.messages.shown.empty());
    }

    void selectingAnAasFillsOnlyTheAasPath()
    {
        m_fixture.bspDialog.answers = script({"/maps/dm1.bsp"});
        m_fixture.aasDialog.answers = script({"/maps/dm1.aas", "<cancel>"});
        click("Command2");
        click("chkOptimiseAas");
        click("cmdSelectAAS");
        click("cmdSelectAAS");

        QCOMPARE(m_window->board().aasPath(), std::string("/maps/dm1.aas"));
        QCOMPARE(m_window->board().bspPath(), std::string("/maps/dm1.bsp"));
        QCOMPARE(fileNameBox(), "/maps/dm1.aas");
        QVERIFY(!m_window->findChild<QPushButton*>("Command2")->isEnabled());
        QVERIFY(m_window->findChild<QPushButton*>("cmdSelectAAS")->isEnabled());
    }

    void displayFileNamePrintsPathAndLastFourCharacters_data()
    {
        QTest::addColumn<QString>("bsp");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("nothing chosen") << "" << QStringList{"", ""};
        QTest::addRow("case kept") << "/maps/DM1.Bsp" << QStringList{"/maps/DM1.Bsp", ".Bsp"};
        QTest::addRow("shorter than four") << "/a" << QStringList{"/a", "/a"};
        QTest::addRow("non-ASCII characters whole")
            << "/карты/карта.бсп" << QStringList{"/карты/карта.бсп", ".бсп"};
    }

    void displayFileNamePrintsPathAndLastFourCharacters()
    {
        QFETCH(QString, bsp);
        if (!bsp.isEmpty()) {
            m_fixture.bspDialog.answers = script({bsp});
            click("Command2");
        }
        click("Command3");
        QTEST(printed(), "lines");
    }

    void displayCommandLinePrintsWithoutValidating_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("line");
        QTest::addRow("nothing chosen") << ""
                                        << "BSPC -bsp2aas \"\"";
        QTest::addRow("optimise with no AAS") << "chkProcessors chkOptimiseAas"
                                              << "BSPC -aasopt \"\" -threads 2";
        QTest::addRow("build options") << "chkFreeTree chkOutput"
                                       << "BSPC -bsp2aas \"\" -noverbose -freetree";
    }

    void displayCommandLinePrintsWithoutValidating()
    {
        QFETCH(QString, clicks);
        m_fixture.clickAll(clicks);
        click("Command4");
        click("Command4");
        QFETCH(QString, line);
        QCOMPARE(printed(), (QStringList{line, line}));
        QCOMPARE(QString::fromStdString(m_window->currentCommandLine().text), line);
        QVERIFY(m_fixture.launcher.launches.empty());
        QVERIFY(m_fixture.messages.shown.empty());
    }

    void panelKeepsEveryLineInOrder()
    {
        click("Command3");
        click("Command4");
        m_fixture.bspDialog.answers = script({"/m/a.bsp"});
        click("Command2");
        click("cmdProcess");
        QCOMPARE(printed(), (QStringList{"", "", "BSPC -bsp2aas \"\"", "BSPC -bsp2aas \"/m/a.bsp\""}));
    }
};

TARNWICK_WIDGET_TEST_MAIN(TestFileButtons)
#include "tst_file_buttons.moc"
