#include "compiler_run.h"
#include "console_window.h"
#include "pseudo_terminal.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QtTest>
#include <csignal>
#include <sys/wait.h>

namespace {

const QString kHost = QStringLiteral(TARNWICK_CONSOLE_HOST);

struct HostRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

// The host without a display: it relays the program's output and ending to its standard output.
HostRun runHost(const QStringList& arguments, const QProcessEnvironment& environment = {})
{
    QProcess host;
    QProcessEnvironment withoutDisplay =
        environment.isEmpty() ? QProcessEnvironment::systemEnvironment() : environment;
    withoutDisplay.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(withoutDisplay);
    host.start(kHost, arguments);
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

} // namespace

class TestConsoleHost : public QObject {
    Q_OBJECT

private slots:
    void wrongUseGivesOneLineOfUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addRow("nothing") << QStringList{};
        QTest::addRow("no program") << QStringList{"-", "title"};
        QTest::addRow("relative program") << QStringList{"-", "title", "sh"};
        QTest::addRow("standard stream as report socket") << QStringList{"2", "title", "/bin/true"};
        QTest::addRow("report socket not a number") << QStringList{"3x", "title", "/bin/true"};
    }

    void wrongUseGivesOneLineOfUsage()
    {
        QFETCH(QStringList, arguments);
        const HostRun run = runHost(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.errors.startsWith("usage: tarnwick-console "));
        QCOMPARE(run.errors.count('\n'), 1);
        QVERIFY(run.output.isEmpty());
    }

    void theLastLineSaysHowTheRunEnded_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("ending");
        QTest::addRow("success") << "echo done"
                                 << "Finished with exit status 0.";
        QTest::addRow("failure") << "exit 3"
                                 << "Finished with exit status 3.";
        QTest::addRow("killed") << "kill -KILL $$"
                                << "Ended by signal 9 (SIGKILL).";
        QTest::addRow("crashed") << "kill -SEGV $$"
                                 << "Ended by signal 11 (SIGSEGV).";
        QTest::addRow("output left without a line end") << "printf 'no end'"
                                                        << "Finished with exit status 0.";
    }

    void theLastLineSaysHowTheRunEnded()
    {
        QFETCH(QString, script);
        QFETCH(QString, ending);
        const HostRun run = runHost({"-", "title", "/bin/sh", "-c", script});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(lastLine(run.output), ending);
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

    void windowShowsTheOutputReadOnly()
    {
        const QString title = "BSPC -bsp2aas \"/maps/a b.bsp\" -threads 2";
        ConsoleWindow window(title);
        auto* view = window.findChild<QPlainTextEdit*>("compilerOutput");
        QVERIFY(view);
        QCOMPARE(window.windowTitle(), title);
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(view->accessibleName(), "Compiler output");
        QVERIFY(view->isReadOnly());
        QVERIFY(view->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        window.show();
        const int columnWidth = view->fontMetrics().horizontalAdvance(QLatin1Char('M'));
        QVERIFY(view->viewport()->width() >= 80 * columnWidth);
        QVERIFY(view->viewport()->height() >= 25 * view->fontMetrics().lineSpacing());

        window.addOutput("\r     1\r     2\r\nDone.\r\n\x1b[1mbold");
        window.addLine("Finished with exit status 0.");

        QTRY_COMPARE(view->toPlainText(), "     2\nDone.\nbold\nFinished with exit status 0.\n");
    }

    // A flood of counters repaints the view at a bounded rate, not once per write.
    void aFloodOfOutputRepaintsAtABoundedRate()
    {
        ConsoleWindow window("flood");
        auto* view = window.findChild<QPlainTextEdit*>("compilerOutput");
        QVERIFY(view);
        int repaints = 0;
        connect(view->document(), &QTextDocument::contentsChange, this, [&repaints] { ++repaints; });
        QElapsedTimer clock;
        clock.start();
        for (int count = 0; count < 20000; ++count) {
            window.addOutput(QByteArray::number(count).prepend('\r').toStdString());
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE(view->toPlainText(), "19999");
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(repaints <= elapsed / ConsoleWindow::kRefreshIntervalMs + 2,
                 qPrintable(QStringLiteral("%1 repaints in %2 ms").arg(repaints).arg(elapsed)));
    }

    void closingTheWindowHangsUpARunningProgram()
    {
        CompilerRun run(PseudoTerminal::start("/bin/sleep", {"30"}));
        ConsoleWindow window("sleeping");
        connect(&window, &ConsoleWindow::closing, &run, &CompilerRun::hangUp);
        std::optional<int> status;
        connect(&run, &CompilerRun::ended, this, [&status](int waitStatus) { status = waitStatus; });
        window.show();

        window.close();

        QTRY_VERIFY(status.has_value());
        QVERIFY(WIFSIGNALED(*status));
        QCOMPARE(WTERMSIG(*status), SIGHUP);
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
