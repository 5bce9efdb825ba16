#include "board_text.h"
#include "command_line_composer.h"
#include "option_board.h"
#include "run_report.h"

#include <QtTest>

using namespace std::chrono_literals;
using Clock = std::chrono::system_clock;
using Stamp = std::optional<FileStamp>;
using Header = std::optional<AasHeader>;
using Fault = AasHeader::Fault;

Q_DECLARE_METATYPE(Stamp)
Q_DECLARE_METATYPE(Header)

namespace {

const Clock::time_point kStart = Clock::time_point(1'800'000'000s);
const Clock::time_point kEnd = kStart + 4'240ms;
constexpr std::uint32_t kMap = 0xB01B0E9A;
constexpr std::uint32_t kOldMap = 0x12345678;

Stamp stamp(Clock::duration sinceStart, std::uint64_t size = 7600)
{
    return FileStamp{kStart + sinceStart, size};
}

Header madeFor(std::uint32_t checksum)
{
    return AasHeader{Fault::None, checksum};
}

QString modeFileOf(const RunOutputs& outputs)
{
    return outputs.modeFile ? QString::fromStdString(*outputs.modeFile) : QStringLiteral("(none)");
}

} // namespace

class TestRunReport : public QObject {
    Q_OBJECT

private slots:
    void findsTheFileEachModeWrites_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("modeFile");
        const QString home = QStringLiteral("/home/me/q3");
        const QString drive = QStringLiteral("C:\\q3");

        QTest::addRow("aas beside the map")
            << QStringList{"-bsp2aas", "/maps/dm1.bsp"} << home << "/maps/dm1.aas";
        QTest::addRow("relative map")
            << QStringList{"-bsp2aas", "maps/dm1.bsp"} << home << "/home/me/q3/maps/dm1.aas";
        QTest::addRow("dots in folder names")
            << QStringList{"-bsp2aas", "/q3.d/maps.v2/dm1.bsp"} << home << "/q3.d/maps.v2/dm1.aas";
        QTest::addRow("two dots in the name")
            << QStringList{"-bsp2aas", "/maps/dm1.final.bsp"} << home << "/maps/dm1.final.aas";
        QTest::addRow("upper-case extension")
            << QStringList{"-bsp2aas", "/maps/X.BSP"} << home << "/maps/X.aas";
        QTest::addRow("no extension: cut at a folder's dot")
            << QStringList{"-bsp2aas", "/q3.d/dm1"} << home << "/q3.aas";
        QTest::addRow("no dot at all: aas in the working folder")
            << QStringList{"-bsp2aas", "/maps/dm1"} << home << "/home/me/q3/aas";
        QTest::addRow("reach rewrites the aas")
            << QStringList{"-reach", "/maps/dm1.bsp", "-threads", "2"} << home << "/maps/dm1.aas";
        QTest::addRow("aasopt rewrites the aas")
            << QStringList{"-aasopt", "/maps/dm1.aas"} << home << "/maps/dm1.aas";
        QTest::addRow("switches in any case")
            << QStringList{"-BSP2AAS", "/maps/dm1.bsp"} << home << "/maps/dm1.aas";
        QTest::addRow("map into the working folder")
            << QStringList{"-bsp2map", "/maps/dm1.bsp"} << home << "/home/me/q3/dm1.map";
        QTest::addRow("map named up to the first dot")
            << QStringList{"-bsp2map", "/m.d/dm1.final.bsp"} << home << "/home/me/q3/dm1.map";
        QTest::addRow("map of a map without extension")
            << QStringList{"-bsp2map", "dm1"} << home << "/home/me/q3/dm1.map";
        QTest::addRow("map whose name looks like a drive")
            << QStringList{"-bsp2map", "/m/c:x.bsp"} << home << "/home/me/q3/c:x.map";
        QTest::addRow("relative map like a drive on Linux")
            << QStringList{"-bsp2aas", "0:m.bsp"} << home << "/home/me/q3/0:m.aas";
        QTest::addRow("Windows aas") << QStringList{"-bsp2aas", "C:\\maps\\dm1.BSP"} << drive
                                     << "C:\\maps\\dm1.aas";
        QTest::addRow("Windows relative")
            << QStringList{"-bsp2aas", "maps\\dm1.bsp"} << drive << "C:\\q3\\maps\\dm1.aas";
        QTest::addRow("Windows map, either separator")
            << QStringList{"-bsp2map", "C:\\maps/sub\\dm1.bsp"} << drive << "C:\\q3\\dm1.map";
        QTest::addRow("Windows drive root") << QStringList{"-bsp2map", "D:\\dm1.bsp"} << "C:\\"
                                            << "C:\\dm1.map";
        QTest::addRow("the last mode counts")
            << QStringList{"-bsp2map", "/a/x.bsp", "-bsp2aas", "/b/y.bsp"} << home << "/b/y.aas";
        QTest::addRow("no mode") << QStringList{"-threads", "2"} << home << "(none)";
        QTest::addRow("mode without file") << QStringList{"-bsp2aas"} << home << "(none)";
        QTest::addRow("mode followed by a switch")
            << QStringList{"-bsp2aas", "-threads", "2"} << home << "(none)";
    }

    void findsTheFileEachModeWrites()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, folder);
        std::vector<std::string> list;
        for (const QString& argument : arguments) {
            list.push_back(argument.toStdString());
        }
        const RunOutputs outputs = RunOutputs::of(list, folder.toStdString());
        QTEST(modeFileOf(outputs), "modeFile");
        const QString separator = folder.startsWith('/') ? "/" : "\\";
        const QString log = (folder.endsWith(separator) ? folder : folder + separator) + "bspc.log";
        QCOMPARE(QString::fromStdString(outputs.logFile), log);
    }

    // What the window composes is what the console watches for, in every mode.
    void watchesWhatTheWindowComposes_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("modeFile");
        QTest::addColumn<QString>("map");
        QTest::addRow("convert") << "chkProcessors chkNoCsg"
                                 << "/maps/dm1.aas"
                                 << "/maps/dm1.bsp";
        QTest::addRow("reachability") << "chkReach"
                                      << "/maps/dm1.aas"
                                      << "/maps/dm1.bsp";
        QTest::addRow("optimise: the map beside the .aas") << "chkOptimiseAas"
                                                           << "/aas/dm1.aas"
                                                           << "/aas/dm1.bsp";
        QTest::addRow("to map") << "chkConvertToMap chkOutput"
                                << "/q3/dm1.map"
                                << "(none)";
    }

    void watchesWhatTheWindowComposes()
    {
        QFETCH(QString, clicks);
        OptionBoard board;
        prepareBoard(board, clicks, "/maps/dm1.bsp", "/aas/dm1.aas");
        CommandLine command = initialCommandLine();
        composeCommandLine(board, command);
        const RunOutputs outputs = RunOutputs::of(command.arguments, "/q3");
        QTEST(modeFileOf(outputs), "modeFile");
        QTEST(outputs.mapFile ? QString::fromStdString(*outputs.mapFile) : "(none)", "map");
    }

    void tellsWhetherTheFileWasWritten_data()
    {
        QTest::addColumn<Stamp>("before");
        QTest::addColumn<Stamp>("after");
        QTest::addColumn<bool>("written");
        QTest::addRow("new") << Stamp() << stamp(3s) << true;
        QTest::addRow("never there") << Stamp() << Stamp() << false;
        QTest::addRow("removed") << stamp(-1h) << Stamp() << false;
        QTest::addRow("old and untouched") << stamp(-1h) << stamp(-1h) << false;
        QTest::addRow("rewritten") << stamp(-1h) << stamp(5s, 3352) << true;
        QTest::addRow("rewritten alike, dated by a coarse clock") << stamp(-1s) << stamp(-1s) << true;
        QTest::addRow("untouched coarse stamp, past the slack") << stamp(-3s) << stamp(-3s) << false;
        QTest::addRow("untouched fine stamp, a second before")
            << stamp(-1s - 1ms) << stamp(-1s - 1ms) << false;
        QTest::addRow("untouched fine stamp, by the file clock's tick")
            << stamp(-20ms) << stamp(-20ms) << true;
        QTest::addRow("new, dated by a lagging file server") << Stamp() << stamp(-5min) << true;
        QTest::addRow("changed, dated by a lagging file server") << stamp(-1h) << stamp(-5min) << true;
        QTest::addRow("untouched, dated ahead by a clock set wrong") << stamp(1h) << stamp(1h) << false;
        QTest::addRow("untouched coarse stamp, just past the end") << stamp(6s) << stamp(6s) << true;
        QTest::addRow("untouched coarse stamp, past the end's slack") << stamp(7s) << stamp(7s) << false;
        QTest::addRow("untouched fine stamp, past the end's slack")
            << stamp(4'341ms + 1ns) << stamp(4'341ms + 1ns) << false;
    }

    void tellsWhetherTheFileWasWritten()
    {
        QFETCH(Stamp, before);
        QFETCH(Stamp, after);
        const RunReport report(RunOutputs::of({"-bsp2aas", "/m/a.bsp"}, "/q3"), {before, {}}, kStart);
        QTEST(report.wasWritten(after, kEnd), "written");
    }

    // The rows name the arguments, how the run ended, the file before and after (stamp and, for an
    // .aas, header), and the checksum of the map as it is at the end.
    void saysHowTheRunEnded_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("exit");
        QTest::addColumn<Stamp>("before");
        QTest::addColumn<Header>("headerBefore");
        QTest::addColumn<Stamp>("after");
        QTest::addColumn<Header>("headerAfter");
        QTest::addColumn<qint64>("map"); // -1 for a map that could not be read
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("tone");
        const QStringList convert{"-bsp2aas", "/maps/dm1.bsp"};
        const QStringList reach{"-reach", "/maps/dm1.bsp"};
        const QStringList optimise{"-aasopt", "/maps/dm1.aas"};
        const QString look = QStringLiteral("see the messages above and bspc.log in /q3.");
        const QString clean = "Finished with exit status 0";
        const QString status1 = "Finished with exit status 1";
        const QString signal11 = "Ended by signal 11 (SIGSEGV)";
        const QString ok = clean + " after 4.2 s";
        const QString failed = status1 + " after 4.2 s";
        const QString crashed = signal11 + " after 4.2 s";
        const QString again =
            " Compile the map again with Recalculate reachabilities and Optimise .AAS file unticked.";
        const QString wrote = ": wrote /maps/dm1.aas ";
        const QString asNow = " for /maps/dm1.bsp as it is now.";
        const QString another = "made for another version of /maps/dm1.bsp";
        const QString changed = ", but /maps/dm1.aas (7.4 KiB) changed during the run and ";
        const QString cannotLoad = ", so the game cannot load it: " + look;
        const int good = int(EndingTone::Good);
        const int warning = int(EndingTone::Warning);
        const int bad = int(EndingTone::Bad);
        const qint64 map = kMap;
        const qint64 none = -1;
        const Header cut = AasHeader{Fault::LumpOutside};

        QTest::addRow("wrote, no header read")
            << convert << clean << Stamp() << Header() << stamp(4s, 144'000) << Header() << none
            << ok + wrote + "(141 KiB)." << good;
        QTest::addRow("wrote nothing") << convert << clean << Stamp() << Header() << Stamp() << Header()
                                       << map << ok + ", but /maps/dm1.aas was not written: " + look << bad;
        QTest::addRow("crashed before writing")
            << convert << signal11 << Stamp() << Header() << Stamp() << Header() << map
            << crashed + ", but /maps/dm1.aas was not written: " + look << bad;
        QTest::addRow("old file left")
            << convert << clean << stamp(-1h) << madeFor(kMap) << stamp(-1h) << madeFor(kMap) << map
            << ok + ", but /maps/dm1.aas was not written: " + look << bad;
        QTest::addRow("empty") << convert << clean << Stamp() << Header() << stamp(1s, 0) << Header() << map
                               << ok + ", but /maps/dm1.aas is empty: " + look << bad;
        QTest::addRow("no mode, clean") << QStringList{"-help"} << clean << Stamp() << Header() << Stamp()
                                        << Header() << none << ok + "." << good;
        QTest::addRow("no mode, failed") << QStringList{"-help"} << status1 << Stamp() << Header() << Stamp()
                                         << Header() << none << failed + ": " + look << bad;
        QTest::addRow("made for the map as it is now")
            << convert << clean << Stamp() << Header() << stamp(4s, 144'000) << madeFor(kMap) << map
            << ok + wrote + "(141 KiB)" + asNow << good;
        QTest::addRow("compiled while the map changed")
            << convert << clean << Stamp() << Header() << stamp(1s) << madeFor(kOldMap) << map
            << ok + wrote + "(7.4 KiB), but it was " + another +
                   ": the game will refuse it as out of date. Compile the map again."
            << bad;
        QTest::addRow("optimised, made for another version")
            << optimise << clean << stamp(-1h) << madeFor(kOldMap) << stamp(1s, 3352) << madeFor(kOldMap)
            << map
            << ok + wrote + "(3.3 KiB), but it was " + another + ": the game will refuse it as out of date." +
                   again
            << bad;
        QTest::addRow("optimised, no map beside it")
            << optimise << clean << stamp(-1h) << madeFor(kOldMap) << stamp(1s, 3352) << madeFor(kOldMap)
            << none << ok + wrote + "(3.3 KiB)." << good;
        QTest::addRow("reachabilities over areas of another version")
            << reach << clean << stamp(-1h) << madeFor(kOldMap) << stamp(1s) << madeFor(kMap) << map
            << ok + wrote + "(7.4 KiB), but its areas were " + another + ": bots would move by the old map." +
                   again
            << warning;
        QTest::addRow("reachabilities over areas of the map")
            << reach << clean << stamp(-1h) << madeFor(kMap) << stamp(1s) << madeFor(kMap) << map
            << ok + wrote + "(7.4 KiB)" + asNow << good;
        QTest::addRow("cut short by a full disk")
            << convert << clean << Stamp() << Header() << stamp(3s, 143'360) << cut << map
            << ok + ", but /maps/dm1.aas (140 KiB) is cut short" + cannotLoad << bad;
        QTest::addRow("no .aas at all")
            << convert << clean << Stamp() << Header() << stamp(3s) << Header(AasHeader{Fault::NotAas}) << map
            << ok + ", but /maps/dm1.aas (7.4 KiB) is not a valid .aas file" + cannotLoad << bad;
        QTest::addRow("crashed while writing")
            << convert << signal11 << Stamp() << Header() << stamp(2s) << cut << map
            << crashed + changed + "is cut short" + cannotLoad << bad;
        QTest::addRow("failed, the file changed, its header whole")
            << convert << status1 << Stamp() << Header() << stamp(1s) << madeFor(kMap) << map
            << failed + changed +
                   "may be incomplete, though it was made for /maps/dm1.bsp as it is now: " + look
            << bad;
        QTest::addRow("killed beside another run that wrote the file")
            << convert << signal11 << stamp(-1h) << madeFor(kMap) << stamp(1s) << madeFor(kOldMap) << map
            << crashed + changed + "may be incomplete, and it was " + another + ": " + look << bad;
        QTest::addRow("a line break in the path stays out of the line")
            << QStringList{"-bsp2map", "/maps/a\nb.bsp"} << clean << Stamp() << Header() << Stamp()
            << Header() << none << ok + ", but /q3/a?b.map was not written: " + look << bad;
    }

    void saysHowTheRunEnded()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, exit);
        QFETCH(Stamp, before);
        QFETCH(Header, headerBefore);
        QFETCH(Stamp, after);
        QFETCH(Header, headerAfter);
        QFETCH(qint64, map);
        std::vector<std::string> list;
        for (const QString& argument : arguments) {
            list.push_back(argument.toStdString());
        }
        const RunReport report(RunOutputs::of(list, "/q3"), {before, headerBefore}, kStart);
        const RunEnd end{{exit.toStdString(), exit.endsWith(" 0")},
                         4'240ms,
                         kEnd,
                         {after, headerAfter},
                         map < 0 ? std::nullopt : std::optional(std::uint32_t(map))};
        const RunEnding ending = report.ending(end);
        QTEST(QString::fromStdString(ending.line), "line");
        QTEST(int(ending.tone), "tone");
    }

    // What the game checks before it loads an .aas: the ident, the version and that each lump lies
    // inside the file; and the checksum of the map it was made for, scrambled in version 5.
    void describesDurationsAndSizes_data()
    {
        QTest::addColumn<qint64>("nanoseconds");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QString>("size");
        QTest::addRow("nothing") << qint64(0) << qint64(0) << "0.0 s"
                                 << "0 bytes";
        QTest::addRow("one") << qint64(49'999'999) << qint64(1) << "0.0 s"
                             << "1 byte";
        QTest::addRow("round up") << qint64(50'000'000) << qint64(1023) << "0.1 s"
                                  << "1023 bytes";
        QTest::addRow("first unit") << qint64(59'949'999'999) << qint64(1024) << "59.9 s"
                                    << "1.0 KiB";
        QTest::addRow("a minute") << qint64(59'950'000'000) << qint64(7600) << "1 min 00 s"
                                  << "7.4 KiB";
        QTest::addRow("ten units") << qint64(65'400'000'000) << qint64(10'188) << "1 min 05 s"
                                   << "9.9 KiB";
        QTest::addRow("whole units") << qint64(3'599'400'000'000) << qint64(10'189) << "59 min 59 s"
                                     << "10 KiB";
        QTest::addRow("next unit") << qint64(3'599'500'000'000) << qint64(1'048'064) << "1 h 00 min"
                                   << "1.0 MiB";
        QTest::addRow("hours") << qint64(7'410'000'000'000) << qint64(2'411'724) << "2 h 04 min"
                               << "2.3 MiB";
        QTest::addRow("negative clock step") << qint64(-5) << qint64(5'000'000'000) << "0.0 s"
                                             << "4.7 GiB";
    }

    // Whole seconds mark a coarse stamp; a date the clock cannot hold is taken as the nearest.
    void readsFileSystemTimes_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("nanoseconds");
        QTest::addColumn<qint64>("since1970");
        QTest::addColumn<bool>("coarse");
        QTest::addRow("whole second")
            << qint64(1'700'000'000) << qint64(0) << qint64(1'700'000'000'000'000'000) << true;
        QTest::addRow("fraction") << qint64(1'700'000'000) << qint64(5) << qint64(1'700'000'000'000'000'005)
                                  << false;
        QTest::addRow("before 1970") << qint64(-1) << qint64(0) << qint64(-1'000'000'000) << true;
        QTest::addRow("year 2300") << qint64(10'413'792'000) << qint64(0) << qint64(6'324'480'000'000'000'000)
                                   << true;
        QTest::addRow("far past") << qint64(INT64_MIN) << qint64(7) << qint64(-6'324'479'999'999'999'993)
                                  << false;
    }

    void readsFileSystemTimes()
    {
        QFETCH(qint64, seconds);
        QFETCH(qint64, nanoseconds);
        const FileStamp stamp{fileTimePoint(seconds, nanoseconds), 1};
        QTEST(qint64(std::chrono::duration_cast<std::chrono::nanoseconds>(stamp.modified.time_since_epoch())
                         .count()),
              "since1970");
        QTEST(stamp.isCoarse(), "coarse");
    }

    void describesDurationsAndSizes()
    {
        QFETCH(qint64, nanoseconds);
        QFETCH(qint64, bytes);
        QTEST(QString::fromStdString(describeDuration(std::chrono::nanoseconds(nanoseconds))), "duration");
        QTEST(QString::fromStdString(describeSize(std::uint64_t(bytes))), "size");
    }
};

QTEST_APPLESS_MAIN(TestRunReport)
#include "tst_run_report.moc"
