#include "program_lookup.h"

#include <QtTest>
#include <set>
#include <string>
#include <vector>

class TestProgramLookup : public QObject {
    Q_OBJECT

private slots:
    // The start folder before PATH, PATH in its order, and within a folder the names in theirs.
    void theFirstProgramInLookupOrderWins_data()
    {
        QTest::addColumn<QStringList>("programs"); // the candidates that are programs
        QTest::addColumn<QString>("found");        // empty for none

        QTest::addRow("the start folder first") << QStringList{"start/BSPC", "a/BSPC"} << "start/BSPC";
        QTest::addRow("then PATH in its order") << QStringList{"b/BSPC", "a/BSPC"} << "a/BSPC";
        QTest::addRow("a later folder on PATH") << QStringList{"b/bspc"} << "b/bspc";
        QTest::addRow("names in their order within a folder") << QStringList{"a/bspc", "a/BSPC"} << "a/BSPC";
        QTest::addRow("a folder before a name") << QStringList{"start/bspc", "a/BSPC"} << "start/bspc";
        QTest::addRow("none") << QStringList{"c/BSPC"} << "";
    }

    void theFirstProgramInLookupOrderWins()
    {
        QFETCH(QStringList, programs);
        std::set<std::string> isProgram;
        for (const QString& program : programs) {
            isProgram.insert(program.toStdString());
        }
        const std::vector<std::string> pathFolders{"a", "b"};
        const std::vector<std::string> names{"BSPC", "bspc"};
        const auto join = [](const std::string& folder, const std::string& name) {
            return folder + "/" + name;
        };

        const std::optional<std::string> found =
            lookUpProgram(std::string("start"), pathFolders, names, join,
                          [&](const std::string& candidate) { return isProgram.contains(candidate); });

        QTEST(QString::fromStdString(found.value_or("")), "found");
    }
};

QTEST_APPLESS_MAIN(TestProgramLookup)
#include "tst_program_lookup.moc"
