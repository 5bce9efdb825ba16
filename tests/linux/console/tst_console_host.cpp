#include "compiler_run.h"
#include "console_text.h"
#include "console_window.h"
#include "display_environment.h"
#include "pseudo_terminal.h"
#include "system_file_access.h"
#include "window_stage_request.h"

#include <QAccessible>
#include <QDateTime>
#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <sys/wait.h>

namespace {

const QString kHost = QStringLiteral(TARNWICK_CONSOLE_HOST);
const QString kWindowStage = QFileInfo(kHost).absolutePath() + "/tarnwick-console-window";

struct HostRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

// The host without a display: it relays the program's output and ending to its standard output. An
// environment that leaves the platform out keeps it out.
HostRun runHost(const QStringList& arguments, const QProcessEnvironment& environment = {},
                const QString& program = kHost)
{
    QProcess host;
    QProcessEnvironment withoutDisplay =
        environment.isEmpty() ? QProcessEnvironment::systemEnvironment() : environment;
    if (environment.isEmpty() || environment.contains("QT_QPA_PLATFORM")) {
        withoutDisplay.insert("QT_QPA_PLATFORM", "offscreen");
    }
    host.setProcessEnvironment(withoutDisplay);
    host.start(program, arguments);
    if (!host.waitForFinished(20000)) {
        host.kill();
        host.waitForFinished();
    }
    return {host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1, host.readAllStandardOutput(),
            host.readAllStandardError()};
}

QString lastLine(const QByteArray& output)
{
    return QString::fromUtf8(output.trimmed().split('\n').last());
}

// How long a run took varies; the rest of its ending line does not.
QString withoutTime(QString line)
{
    static const QRegularExpression kDuration(QStringLiteral(" after [0-9.]+ s"));
    return line.replace(kDuration, QStringLiteral(" after T"));
}

// A watch on a program that writes nothing, begun now in the current directory.
RunWatch plainWatch(std::vector<std::string> arguments = {})
{
    return RunWatch::begin(SystemFileAccess(), std::move(arguments), QDir::currentPath().toStdString());
}

// A shell command line naming the host, for runs that need a shell around it.
QString quotedHost()
{
    return "'" + kHost + "'";
}

// A view over a text of the test's own, standing in for a run.
struct ScriptedOutput {
    ConsoleText text;
    ConsoleWindow::Source source()
    {
        return [this] { return text.takeUpdate(); };
    }
};

} // namespace

class TestConsoleHost : public QObject {
    Q_OBJECT

private slots:
    void wrongUseGivesOneLineOfUsage_data()
    {
        QTest::addColumn<QString>("stage");
        QTest::addColumn<QStringList>("arguments");
        QTest::addRow("nothing") << kHost << QStringList{};
        QTest::addRow("no program") << kHost << QStringList{"-", "title"};
        QTest::addRow("relative program") << kHost << QStringList{"-", "title", "sh"};
        QTest::addRow("standard stream as report socket") << kHost << QStringList{"2", "title", "/bin/true"};
        QTest::addRow("report socket not a number") << kHost << QStringList{"3x", "title", "/bin/true"};
        QTest::addRow("window stage, nothing") << kWindowStage << QStringList{};
        QTest::addRow("window stage, no title") << kWindowStage << QStringList{"run", "5", "1"};
        QTest::addRow("window stage, standard stream as terminal")
            << kWindowStage << QStringList{"run", "1", "1", "t"};
        QTest::addRow("window stage, failure without message") << kWindowStage << QStringList{"failed", "t"};
    }

    void wrongUseGivesOneLineOfUsage()
    {
        QFETCH(QString, stage);
        QFETCH(QStringList, arguments);
        const HostRun run = runHost(arguments, {}, stage);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.errors.startsWith("usage: " + QFileInfo(stage).fileName().toUtf8() + ' '));
        QCOMPARE(run.errors.count('\n'), 1);
        QVERIFY(run.output.isEmpty());
    }

    // What the starter hands its window stage arrives unchanged, whatever the title holds.
    void theWindowStageReadsWhatTheStarterWrote_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("arguments");
        using Kind = WindowStageRequest::Kind;
        QTest::addRow("run") << int(Kind::Run) << "BSPC -bsp2aas \"/m/a b.bsp\" -threads 2"
                             << QStringList{"-bsp2aas", "/m/a b.bsp", "-threads", "2"};
        QTest::addRow("run, title like an option") << int(Kind::Run) << "--help" << QStringList{"--help"};
        QTest::addRow("run, empty title and argument") << int(Kind::Run) << "" << QStringList{""};
        QTest::addRow("run, no arguments") << int(Kind::Run) << "x" << QStringList{};
        QTest::addRow("run, a stamp's colon in a path")
            << int(Kind::Run) << "x" << QStringList{"-reach", "/m/1:2"};
        QTest::addRow("failure") << int(Kind::Failure) << "BSPC -reach \"/m/[*]\nx.bsp\"" << QStringList{};
    }

    void theWindowStageReadsWhatTheStarterWrote()
    {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QStringList, arguments);
        const bool run = kind == int(WindowStageRequest::Kind::Run);
        std::vector<std::string> list;
        for (const QString& argument : arguments) {
            list.push_back(argument.toStdString());
        }
        const WindowStageRequest sent{WindowStageRequest::Kind(kind),
                                      7,
                                      4242,
                                      title.toStdString(),
                                      run ? "" : "Could not start x.",
                                      run ? std::optional(plainWatch(list)) : std::nullopt};
        const std::optional<WindowStageRequest> read = WindowStageRequest::fromArguments(sent.toArguments());
        QVERIFY(read.has_value());
        QCOMPARE(int(read->kind), kind);
        QCOMPARE(QString::fromStdString(read->title), title);
        QCOMPARE(read->message, sent.message);
        QCOMPARE(read->watch.has_value(), run);
        if (run) {
            QCOMPARE(read->master, 7);
            QCOMPARE(read->pid, pid_t(4242));
            QCOMPARE(watchArguments(*read->watch), watchArguments(*sent.watch));
            QCOMPARE(read->watch->arguments(), list);
        }
    }

    void aBrokenWatchIsRefused_data()
    {
        QTest::addColumn<QStringList>("watch");
        QTest::addRow("too short") << QStringList{"1", "2", "-", "-"};
        QTest::addRow("clock not a number") << QStringList{"1x", "2", "-", "-", "/"};
        QTest::addRow("stamp without size") << QStringList{"1", "2", "3", "-", "/"};
        QTest::addRow("stamp with a bad size") << QStringList{"1", "2", "3:-4", "-", "/"};
        QTest::addRow("header with an unknown fault") << QStringList{"1", "2", "3:4", "5:0", "/"};
    }

    void aBrokenWatchIsRefused()
    {
        QFETCH(QStringList, watch);
        const QStringList list = QStringList{"run", "7", "4242", "title"} + watch;
        std::vector<std::string> arguments;
        for (const QString& argument : list) {
            arguments.push_back(argument.toStdString());
        }
        QVERIFY(!WindowStageRequest::fromArguments(arguments));
    }

    // A stand-in compiler given the map as `-bsp2aas MAP` ends with what it wrote, or did not: 7,600
    // zero bytes, which the game would not load.
    void theLastLineSaysHowTheRunEndedAndWhatItWrote_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("oldFileThere");
        QTest::addColumn<QString>("ending");
        const QString write = QStringLiteral("head -c 7600 /dev/zero >\"${2%.*}.aas\";");
        const QString look = "see the messages above and bspc.log in " + QDir::currentPath() + ".";
        const QString zeros = " MAPS/dm1.aas (7.4 KiB)";
        const QString wrote = "Finished with exit status 0 after T, but" + zeros +
                              " is not a valid .aas file, so the game cannot load it: " + look;
        const QString changed =
            zeros +
            " changed during the run and is not a valid .aas file, so the game cannot load it: " + look;
        QTest::addRow("wrote") << write + "echo done" << false << wrote;
        QTest::addRow("wrote nothing")
            << "echo no files found" << false
            << "Finished with exit status 0 after T, but MAPS/dm1.aas was not written: " + look;
        QTest::addRow("wrote, but failed")
            << write + "exit 3" << false << "Finished with exit status 3 after T, but" + changed;
        QTest::addRow("killed") << "kill -KILL $$" << false
                                << "Ended by signal 9 (SIGKILL) after T, but MAPS/dm1.aas was not written: " +
                                       look;
        QTest::addRow("crashed") << write + "kill -SEGV $$" << false
                                 << "Ended by signal 11 (SIGSEGV) after T, but" + changed;
        QTest::addRow("an old file left alone")
            << "echo no files found" << true
            << "Finished with exit status 0 after T, but MAPS/dm1.aas was not written: " + look;
        QTest::addRow("an old file rewritten") << write << true << wrote;
        QTest::addRow("output left without a line end") << write + "printf 'no end'" << false << wrote;
    }

    void theLastLineSaysHowTheRunEndedAndWhatItWrote()
    {
        QFETCH(QString, script);
        QFETCH(bool, oldFileThere);
        QFETCH(QString, ending);
        QTemporaryDir maps;
        const QString aas = maps.filePath("dm1.aas");
        if (oldFileThere) {
            QFile old(aas);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
            QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                    QFileDevice::FileModificationTime));
        }
        const HostRun run =
            runHost({"-", "title", "/bin/sh", "-c", script, "sh", "-bsp2aas", maps.filePath("dm1.bsp")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(withoutTime(lastLine(run.output)), ending.replace("MAPS", maps.path()));
    }

    // With no display named, the host needs no toolkit and says nothing of one; what a program
    // left behind (one that outlives the hang-up) writes comes before the ending line.
    void withoutDisplayTheEndingComesLast()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(name);
        }
        const HostRun run = runHost(
            {"-", "t", "/bin/sh", "-c", "trap '' HUP; (sleep 0.2; echo late) & echo first"}, environment);
        QCOMPARE(withoutTime(QString::fromUtf8(run.output)),
                 "first\r\nlate\r\n\nFinished with exit status 0 after T.\n");
        QCOMPARE(run.errors, QByteArray());
    }

    // QT_QPA_PLATFORM, XDG_SESSION_TYPE, WAYLAND_DISPLAY and DISPLAY, and Qt's version: whether the
    // console gets a window, and from which platforms.
    void choosesTheWindowsPlatform_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<int>("qtVersion");
        QTest::addColumn<QString>("platforms"); // empty for no window at all
        QTest::addRow("an X session") << QStringList{"", "x11", "", ":0"} << 0x060402 << "xcb;offscreen";
        QTest::addRow("Wayland with X, Qt 6.4")
            << QStringList{"", "wayland", "wayland-0", ":0"} << 0x060402 << "xcb;wayland;offscreen";
        QTest::addRow("Wayland with X, Qt 6.5")
            << QStringList{"", "wayland", "wayland-0", ":0"} << 0x060500 << "wayland;xcb;offscreen";
        QTest::addRow("Wayland alone")
            << QStringList{"", "wayland", "wayland-0", ""} << 0x060402 << "wayland;xcb;offscreen";
        QTest::addRow("the user's own choice")
            << QStringList{"wayland", "wayland", "wayland-0", ":0"} << 0x060402 << "wayland;offscreen";
        QTest::addRow("no display") << QStringList{"", "", "", ""} << 0x060402 << "";
        QTest::addRow("offscreen chosen") << QStringList{"offscreen", "x11", "", ":0"} << 0x060402 << "";
    }

    void choosesTheWindowsPlatform()
    {
        QFETCH(QStringList, environment);
        QFETCH(int, qtVersion);
        const DisplayEnvironment display{environment[0].toStdString(), environment[1].toStdString(),
                                         environment[2].toStdString(), environment[3].toStdString()};
        QTEST(display.namesDisplay() ? QString::fromStdString(display.windowPlatforms(qtVersion)) : QString(),
              "platforms");
    }

    // Standard output and error on the terminal, nothing to read, TERM for a plain view, and the
    // rest of the environment as it was.
    void theProgramGetsATerminalOfItsOwn()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TERM", "xterm-256color");
        environment.insert("TARNWICK_PROBE", "kept as is");
        const HostRun run = runHost({"-", "title", "/bin/sh", "-c",
                                     "[ -t 1 ] && [ -t 2 ] && echo terminal; readlink /proc/self/fd/0;"
                                     "echo \"$TERM|$TARNWICK_PROBE\"; ps -o sid= -p $$ | tr -d ' ';"
                                     "echo $$"},
                                    environment);
        const QList<QByteArray> lines = run.output.split('\n');
        QVERIFY2(lines.size() > 4, run.output.constData());
        QCOMPARE(lines[0].trimmed(), "terminal");
        QCOMPARE(lines[1].trimmed(), "/dev/null");
        QCOMPARE(lines[2].trimmed(), "dumb|kept as is");
        QCOMPARE(lines[3].trimmed(), lines[4].trimmed()); // it leads a session of its own
    }

    // Neither the host's own descriptors nor any its caller left open reach the program: here a
    // file on descriptor 7 and the write end of the caller's pipe on 9. The lister's own directory
    // is its descriptor 3.
    void theProgramInheritsNoOtherDescriptor()
    {
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        shell.setProcessEnvironment(environment);
        shell.start("/bin/sh",
                    {"-c", "exec 7>/dev/null 9>&1; exec " + quotedHost() + " - t /bin/ls -1 /proc/self/fd"});
        QVERIFY(shell.waitForFinished(20000));
        QStringList listed = QString::fromUtf8(shell.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        listed.removeLast(); // the ending line
        for (QString& entry : listed) {
            entry = entry.trimmed();
        }
        QCOMPARE(listed, (QStringList{"0", "1", "2", "3"}));
    }

    // Without a display the output goes to standard output; a reader that goes away must not end
    // the run, which goes on to its end.
    void aClosedReaderDoesNotEndTheRun()
    {
        QTemporaryDir scratch;
        const QString marker = scratch.filePath("finished");
        const QString compiler =
            "i=0; while [ $i -lt 2000 ]; do echo line $i; i=$((i + 1)); done; touch '" + marker + "'";
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("COMPILER", compiler);
        shell.setProcessEnvironment(environment);
        shell.start(
            "/bin/bash",
            {"-c", quotedHost() + " - t /bin/sh -c \"$COMPILER\" | head -n 1; echo \"${PIPESTATUS[0]}\""});
        QVERIFY(shell.waitForFinished(20000));
        QCOMPARE(shell.readAllStandardOutput(), "line 0\r\n0\n"); // the terminal ends lines with CR LF
        QTRY_VERIFY(QFileInfo::exists(marker));
    }

    void windowShowsTheOutputReadOnly()
    {
        const QString title = "BSPC -bsp2aas \"/maps/a b.bsp\" -threads 2";
        ScriptedOutput output;
        ConsoleWindow window(title, output.source());
        auto* view = window.findChild<QPlainTextEdit*>("compilerOutput");
        QVERIFY(view);
        QCOMPARE(window.windowTitle(), title);
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(view->accessibleName(), "Compiler output");
        QVERIFY(view->isReadOnly());
        QVERIFY(view->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        window.show();
        QVERIFY(view->viewport()->height() >= 25 * view->fontMetrics().lineSpacing());

        // A line of 80 columns fits on one line of the view.
        output.text.feed(std::string(80, '8') + "\r\n");
        window.scheduleRefresh();
        QTRY_COMPARE(view->document()->firstBlock().text(), QString(80, '8'));
        QCOMPARE(view->document()->firstBlock().layout()->lineCount(), 1);
        view->clear();
        output.text.feed("\r     1\r     2\r\nDone.\r\n\x1b[1mbold");
        window.scheduleRefresh();
        QTRY_COMPARE(view->toPlainText(), "     2\nDone.\nbold");
        output.text.feed("\r\n");
        output.text.setEnding({"Finished with exit status 0 after 0.1 s."});
        window.scheduleRefresh();
        QTRY_COMPARE(view->toPlainText(), "     2\nDone.\nbold\nFinished with exit status 0 after 0.1 s.");
        // What a child of the program writes later goes above the ending.
        output.text.feed("late\n");
        window.scheduleRefresh();
        QTRY_COMPARE(view->toPlainText(),
                     "     2\nDone.\nbold\nlate\nFinished with exit status 0 after 0.1 s.");
        // The ending line alone stands out, in bold.
        const auto isBold = [](const QTextBlock& block) {
            return block.begin().fragment().charFormat().fontWeight() == QFont::Bold;
        };
        QVERIFY(isBold(view->document()->lastBlock()));
        QVERIFY(!isBold(view->document()->lastBlock().previous()));
    }

    // The view keeps the newest lines of the scrollback, whether they come in one update or in
    // several that each trim what went before.
    void theViewKeepsTheNewestLines_data()
    {
        QTest::addColumn<QList<int>>("batches");
        QTest::addColumn<QString>("first");
        QTest::addRow("trimmed by later updates") << QList<int>{6000, 6000} << "2000";
        QTest::addRow("more than the scrollback at once") << QList<int>{10005} << "5";
    }

    void theViewKeepsTheNewestLines()
    {
        QFETCH(QList<int>, batches);
        ScriptedOutput output;
        ConsoleWindow window("scrollback", output.source());
        auto* view = window.findChild<QPlainTextEdit*>("compilerOutput");
        QVERIFY(view);
        int line = 0;
        for (const int batch : batches) {
            std::string text;
            for (const int end = line + batch; line < end; ++line) {
                text += std::to_string(line) + '\n';
            }
            output.text.feed(text);
            window.scheduleRefresh();
            const QString last = QString::number(line - 1);
            QTRY_COMPARE(view->document()->lastBlock().previous().text(), last);
        }
        QCOMPARE(view->document()->blockCount(), int(ConsoleText::kMaxLines) + 1);
        QTEST(view->document()->firstBlock().text(), "first");
    }

    // A real run: its output reaches the window from the reader thread, and the ending comes last.
    void aRunShowsItsOutputAndEnding()
    {
        CompilerRun run(PseudoTerminal::start("/bin/sh", {"-c", "printf 'one\\n\\r  1\\r  2'; exit 4"}),
                        plainWatch());
        ConsoleWindow window("run", [&run] { return run.takeUpdate(); });
        connect(&run, &CompilerRun::outputArrived, &window, &ConsoleWindow::scheduleRefresh);
        auto* view = window.findChild<QPlainTextEdit*>("compilerOutput");
        QVERIFY(view);
        run.start();
        const QString ending =
            "Finished with exit status 4 after T: see the messages above and bspc.log in " +
            QDir::currentPath() + ".";
        QTRY_COMPARE(withoutTime(view->toPlainText()), "one\n  2\n" + ending);
        QTRY_VERIFY(run.hasEnded());
    }

    // The window's title, as the window system gets it, is the command line exactly.
    void theTitleIsTheCommandLineExactly_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addRow("modified mark") << "BSPC -bsp2aas \"/maps/ctf [*] v2.bsp\"";
        QTest::addRow("two marks together") << "BSPC -bsp2aas \"/maps/[*][*].bsp\"";
        QTest::addRow("three marks together") << "BSPC -bsp2aas \"/m/[*][*][*].bsp\"";
        QTest::addRow("marks apart") << "BSPC -reach \"/m/[*]a[*].bsp\"";
        QTest::addRow("mark at the end") << "BSPC -aasopt \"/m/a.aas[*]\"";
        QTest::addRow("broken marks") << "BSPC -bsp2map \"/m/[* *] [[*]].bsp\"";
        QTest::addRow("ampersand and percent") << "BSPC -bsp2aas \"/m/&a %PATH% $(x).bsp\"";
        QTest::addRow("non-ASCII") << "BSPC -bsp2aas \"/карты/地图 ü.bsp\"";
    }

    void theTitleIsTheCommandLineExactly()
    {
        QFETCH(QString, title);
        ScriptedOutput output;
        ConsoleWindow window(title, output.source());
        window.show();
        QVERIFY(window.windowHandle());
        QCOMPARE(window.windowHandle()->title(), title);
    }

    // A flood of counters repaints the view at a bounded rate, not once per write.
    void aFloodOfOutputRepaintsAtABoundedRate()
    {
        ScriptedOutput output;
        ConsoleWindow window("flood", output.source());
        auto* view = window.findChild<QPlainTextEdit*>("compilerOutput");
        QVERIFY(view);
        int repaints = 0;
        connect(view->document(), &QTextDocument::contentsChange, this, [&repaints] { ++repaints; });
        QElapsedTimer clock;
        clock.start();
        for (int count = 0; count < 20000; ++count) {
            output.text.feed(QByteArray::number(count).prepend('\r').toStdString());
            window.scheduleRefresh();
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE(view->toPlainText(), "19999");
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(repaints <= elapsed / ConsoleWindow::kRefreshIntervalMs + 2,
                 qPrintable(QStringLiteral("%1 repaints in %2 ms").arg(repaints).arg(elapsed)));
    }

    // A console minimized out of sight takes nothing from its source, whose text keeps the newest
    // lines for it, bounded by the scrollback; restored, it shows them and the ending at once. A
    // window never shown stands for one a window manager keeps minimized; one shown on this platform
    // stays in view, as a minimized window does where no window manager honours it.
    void aMinimizedConsoleCatchesUpWhenRestored_data()
    {
        QTest::addColumn<bool>("leftInView");
        QTest::addColumn<bool>("refreshWaiting");
        QTest::addColumn<int>("linesBefore");
        QTest::addColumn<int>("linesMinimized");
        QTest::addColumn<QString>("first");
        QTest::addRow("from the start") << false << false << 0 << 3 << "0";
        QTest::addRow("below what was shown") << false << false << 2 << 3 << "0";
        QTest::addRow("while a refresh waits") << false << true << 2 << 3 << "0";
        QTest::addRow("more than the scrollback") << false << false << 4 << 10005 << "9";
        QTest::addRow("left in view") << true << false << 2 << 3 << "0";
    }

    void aMinimizedConsoleCatchesUpWhenRestored()
    {
        QFETCH(bool, leftInView);
        QFETCH(bool, refreshWaiting);
        QFETCH(int, linesBefore);
        QFETCH(int, linesMinimized);
        ScriptedOutput output;
        int takes = 0;
        ConsoleWindow window("minimized", [&output, &takes] {
            ++takes;
            return output.text.takeUpdate();
        });
        auto* view = window.findChild<QPlainTextEdit*>("compilerOutput");
        QVERIFY(view);
        const auto numbered = [](int from, int to) {
            std::string text;
            for (int line = from; line < to; ++line) {
                text += std::to_string(line) + '\n';
            }
            return text;
        };
        if (linesBefore > 0) {
            output.text.feed(numbered(0, linesBefore));
            window.scheduleRefresh();
        }
        if (linesBefore > 0 && !refreshWaiting) {
            QTRY_COMPARE(view->document()->lastBlock().previous().text(), QString::number(linesBefore - 1));
        }
        const int takesBefore = takes;

        window.setWindowState(Qt::WindowMinimized);
        if (leftInView) {
            window.show();
        }
        QSignalSpy edits(view->document(), &QTextDocument::contentsChange);
        const int total = linesBefore + linesMinimized;
        output.text.feed(numbered(linesBefore, total));
        output.text.setEnding({"Finished with exit status 0."});
        window.scheduleRefresh();
        window.scheduleRefresh();
        // Out of sight, three refresh intervals pass with no edit (nothing to wait for but time, as
        // the test is that nothing happens); in view, the edit comes.
        QCOMPARE(edits.wait(leftInView ? 5000 : 3 * ConsoleWindow::kRefreshIntervalMs), leftInView);
        QCOMPARE(takes, takesBefore + (leftInView ? 1 : 0));

        window.setWindowState(Qt::WindowNoState);
        QCOMPARE(view->document()->lastBlock().text(), "Finished with exit status 0.");
        QCOMPARE(view->document()->lastBlock().previous().text(), QString::number(total - 1));
        QTEST(view->document()->firstBlock().text(), "first");
        QCOMPARE(view->document()->blockCount(), std::min(total, int(ConsoleText::kMaxLines)) + 1);
    }

    // Closing a console ends its program as closing a console window does on the program's home
    // platform: at once for one that takes the hang-up, after a grace for one that will not go.
    void closingEndsTheProgram_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("graceMs");
        // Each says "ready" once its traps are set, so that the close comes after them.
        QTest::addRow("takes the hang-up") << "echo ready; exec sleep 30" << SIGHUP << 0;
        QTest::addRow("ignores the hang-up")
            << "trap '' HUP; echo ready; exec sleep 30" << SIGTERM << CompilerRun::kTerminateGraceMs;
        QTest::addRow("ignores hang-up and termination")
            << "trap '' HUP TERM; echo ready; exec sleep 30" << SIGKILL
            << CompilerRun::kTerminateGraceMs + CompilerRun::kKillGraceMs;
    }

    void closingEndsTheProgram()
    {
        QFETCH(QString, script);
        QFETCH(int, signal);
        QFETCH(int, graceMs);
        CompilerRun run(PseudoTerminal::start("/bin/sh", {"-c", script.toStdString()}), plainWatch());
        std::optional<int> status;
        connect(&run, &CompilerRun::ended, this, [&status](int waitStatus) { status = waitStatus; });
        bool ready = false;
        connect(&run, &CompilerRun::outputArrived, this, [&run, &ready] {
            const ConsoleText::Update update = run.takeUpdate();
            ready = ready || std::ranges::find(update.finished, "ready") != update.finished.end();
        });
        run.start();
        QTRY_VERIFY_WITH_TIMEOUT(ready, 10000);
        QElapsedTimer clock;
        clock.start();

        run.close();

        QTRY_VERIFY_WITH_TIMEOUT(status.has_value(), graceMs + 5000);
        QVERIFY(clock.elapsed() >= graceMs);
        QVERIFY(WIFSIGNALED(*status));
        QCOMPARE(WTERMSIG(*status), signal);
        QVERIFY(run.hasEnded());
    }

    void aProgramThatCannotRunIsReportedAsSuch_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("error");
        QTest::addRow("missing") << "/nonexistent/BSPC" << ENOENT;
        QTest::addRow("a directory") << "/tmp" << EACCES;
        QTest::addRow("not executable") << "not-executable" << EACCES;
        QTest::addRow("refused by the kernel") << "garbage" << ENOEXEC;
    }

    void aProgramThatCannotRunIsReportedAsSuch()
    {
        QFETCH(QString, program);
        QFETCH(int, error);
        QTemporaryDir scratch;
        if (!program.startsWith('/')) {
            QFile file(scratch.filePath(program));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\x01\x02 neither a script nor a binary");
            file.close();
            file.setPermissions(program == "garbage" ? file.permissions() | QFile::ExeOwner
                                                     : QFile::ReadOwner);
            program = file.fileName();
        }
        try {
            PseudoTerminal::start(program.toStdString(), {});
            QFAIL("started");
        } catch (const PseudoTerminal::StartError& failure) {
            QVERIFY(!failure.inSetUp());
            QCOMPARE(failure.code().value(), error);
        }
    }
};

QTEST_MAIN(TestConsoleHost)
#include "tst_console_host.moc"
