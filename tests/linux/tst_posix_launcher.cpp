#include "fake_compiler.h"
#include "launch_request.h"
#include "process_probe.h"

#include <QtTest>
#include <unistd.h>

namespace {

const QString kCannotStart = QStringLiteral("BSPC.exe does not seem to be in the current Directory");
const QString kHost = QStringLiteral(TARNWICK_CONSOLE_HOST);

} // namespace

class TestPosixLauncher : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_work;
    QString m_bin;
    QString m_savedPath;
    QString m_savedDirectory;
    std::optional<FakeCompiler> m_fake;

    QList<FakeCompiler::Run> waitForRuns(int count)
    {
        m_fake->waitForRuns(count);
        return m_fake->runs();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_savedPath = qEnvironmentVariable("PATH");
        m_savedDirectory = QDir::currentPath();
        m_fake.emplace(m_root.path() + "/records");
        // Hosts without a window relay and end with their compiler, so none is left running.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    void init()
    {
        m_work = m_root.path() + "/work " + QTest::currentDataTag();
        m_bin = m_root.path() + "/bin";
        QDir(m_work).removeRecursively();
        QDir(m_bin).removeRecursively();
        QDir().mkpath(m_work);
        QDir().mkpath(m_bin);
        QVERIFY(QDir::setCurrent(m_work));
        qputenv("PATH", (m_bin + ":/usr/bin:/bin").toUtf8());
        m_fake->clear();
    }

    void cleanup()
    {
        const auto noZombie = [] { return processProbe::zombieChildren() == 0; };
        QDir::setCurrent(m_savedDirectory);
        qputenv("PATH", m_savedPath.toUtf8());
        // Hosts first: one that ends after the zombies were counted would leave one behind.
        QVERIFY(processProbe::eventually(
            [this] { return processProbe::consoleHostsRunning(kHost, m_work) == 0; }));
        QVERIFY(processProbe::eventually(noZombie));
    }

    void pathsArriveAsOneUnchangedArgument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addRow("blanks") << "/maps/my maps/dm 1.bsp";
        QTest::addRow("double quote") << "/maps/a\" -nocsg \"b.bsp";
        QTest::addRow("command substitution") << "$(touch marker).bsp";
        QTest::addRow("backticks") << "`touch marker`.bsp";
        QTest::addRow("semicolon") << "a; touch marker; .bsp";
        QTest::addRow("glob and redirection") << "* > marker ?.bsp";
        QTest::addRow("non-ASCII") << "/карты/地图 ü.bsp";
        QTest::addRow("leading dash") << "-threads 9.bsp";
        QTest::addRow("folder with a leading dash") << "-m/-reach/a.bsp";
        QTest::addRow("newline") << "/maps/two\nlines.bsp";
        QTest::addRow("dollar name") << "/maps/$HOME ${PATH}.bsp";
        QTest::addRow("over a thousand characters") << "/m/" + QString(1200, 'x') + ".bsp";
    }

    void pathsArriveAsOneUnchangedArgument()
    {
        QFETCH(QString, path);
        QVERIFY(m_fake->write(m_work, "BSPC", "cwd"));
        OptionBoard board;
        board.setBspPath(path.toStdString());
        board.click(Box::chkProcessors);

        QCOMPARE(requestWithRealLauncher(board, kHost), QStringList{});

        const auto runs = waitForRuns(1);
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].arguments, (QStringList{"-bsp2aas", path, "-threads", "2"}));
        QVERIFY(!QFileInfo::exists(m_work + "/marker"));
        // On the host's terminal, in the front end's working directory.
        QVERIFY(runs[0].onTerminal);
        QCOMPARE(runs[0].term, "dumb");
        QCOMPARE(runs[0].directory, QFileInfo(m_work).canonicalFilePath());
    }

    void eachCommandFormArrivesExactly_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("arguments");
        QTest::addRow("conversion") << -1 << QStringList{"-bsp2aas", "/m/a.bsp", "-threads", "2", "-nocsg"};
        QTest::addRow("reachability")
            << int(Box::chkReach) << QStringList{"-reach", "/m/a.bsp", "-threads", "2"};
        QTest::addRow("optimise") << int(Box::chkOptimiseAas)
                                  << QStringList{"-aasopt", "/m/a.aas", "-threads", "2"};
        QTest::addRow("convert to map")
            << int(Box::chkConvertToMap) << QStringList{"-bsp2map", "/m/a.bsp", "-threads", "2"};
    }

    void eachCommandFormArrivesExactly()
    {
        QFETCH(int, mode);
        QVERIFY(m_fake->write(m_work, "BSPC", "cwd"));
        OptionBoard board;
        board.setBspPath("/m/a.bsp");
        board.setAasPath("/m/a.aas");
        board.click(Box::chkProcessors);
        board.click(Box::chkNoCsg);
        if (mode >= 0) {
            board.click(Box(mode));
        }

        QCOMPARE(requestWithRealLauncher(board), QStringList{});

        const auto runs = waitForRuns(1);
        QCOMPARE(runs.size(), 1);
        QTEST(runs[0].arguments, "arguments");
    }

    void findsTheCompilerOrFailsWithTheOneMessage_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("ranTag"); // empty: the request must fail
        QTest::addRow("upper case in the working directory") << "cwd:BSPC bin:bspc"
                                                             << "cwd:BSPC";
        QTest::addRow("lower case in the working directory") << "cwd:bspc bin:BSPC"
                                                             << "cwd:bspc";
        QTest::addRow("upper case before lower case") << "cwd:bspc cwd:BSPC"
                                                      << "cwd:BSPC";
        QTest::addRow("lower case on PATH") << "bin:bspc"
                                            << "bin:bspc";
        QTest::addRow("symbolic link to a compiler") << "bin:real link:BSPC->../bin/real"
                                                     << "bin:real";
        QTest::addRow("working directory before PATH even when not executable there")
            << "noexec:BSPC bin:BSPC"
            << "bin:BSPC";
        QTest::addRow("missing everywhere") << ""
                                            << "";
        QTest::addRow("not executable") << "noexec:BSPC"
                                        << "";
        QTest::addRow("a directory") << "dir:BSPC"
                                     << "";
        QTest::addRow("interpreter missing") << "badinterp:BSPC"
                                             << "";
        QTest::addRow("dangling symbolic link") << "link:BSPC->nowhere"
                                                << "";
        QTest::addRow("symbolic link to a directory") << "dir:d link:BSPC->d"
                                                      << "";
        QTest::addRow("refused by the kernel") << "garbage:BSPC"
                                               << "";
    }

    void findsTheCompilerOrFailsWithTheOneMessage()
    {
        QFETCH(QString, setup);
        QFETCH(QString, ranTag);
        for (const QString& item : setup.split(' ', Qt::SkipEmptyParts)) {
            const QString kind = item.section(':', 0, 0);
            const QString name = item.section(':', 1).section("->", 0, 0);
            const QString target = item.section("->", 1);
            if (kind == "cwd" || kind == "bin") {
                QVERIFY(m_fake->write(kind == "cwd" ? m_work : m_bin, name, item));
            } else if (kind == "noexec") {
                QVERIFY(m_fake->write(m_work, name, item, QFile::ReadOwner | QFile::WriteOwner));
            } else if (kind == "badinterp") {
                QVERIFY(m_fake->write(m_work, name, item, FakeCompiler::executable(), "/nonexistent/sh"));
            } else if (kind == "garbage") {
                QFile file(m_work + '/' + name);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(QByteArray("\x7f"
                                      "ELF garbage",
                                      12));
                file.close();
                QVERIFY(file.setPermissions(FakeCompiler::executable()));
            } else if (kind == "dir") {
                QVERIFY(QDir(m_work).mkdir(name));
            } else if (kind == "link") {
                QVERIFY(QFile::link(target, m_work + '/' + name));
            }
        }
        OptionBoard board;
        board.setBspPath("/m/a.bsp");

        const QStringList shown = requestWithRealLauncher(board, kHost);

        if (ranTag.isEmpty()) {
            QCOMPARE(shown, QStringList{kCannotStart});
            // The host reports a failure only once its exec of the program has failed, so nothing
            // of it can still be on its way.
            QCOMPARE(m_fake->runs().size(), 0);
        } else {
            QCOMPARE(shown, QStringList{});
            const auto runs = waitForRuns(1);
            QCOMPARE(runs.size(), 1);
            QCOMPARE(runs[0].tag, ranTag);
        }
    }

    void requestsStartDetachedCompilersSideBySide()
    {
        QVERIFY(m_fake->write(m_work, "BSPC", "slow", FakeCompiler::executable(), "/bin/sh", "sleep 1"));
        OptionBoard board;
        board.setBspPath("/m/a.bsp");
        QElapsedTimer clock;
        clock.start();

        for (int press = 0; press < 3; ++press) {
            QCOMPARE(requestWithRealLauncher(board), QStringList{});
        }

        QVERIFY2(clock.elapsed() < 900, "a request waited for the compiler");
        const auto runs = waitForRuns(3);
        QCOMPARE(runs.size(), 3);
        for (const FakeCompiler::Run& run : runs) {
            QVERIFY(run.parentPid != QCoreApplication::applicationPid());
        }
    }

    void withoutAHostTheLaunchIsDirect_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addRow("no host") << QString();
        QTest::addRow("host missing") << m_root.path() + "/nowhere/tarnwick-console";
        QTest::addRow("host not executable") << m_root.path() + "/records/../plain";
    }

    void withoutAHostTheLaunchIsDirect()
    {
        QFETCH(QString, host);
        QFile plain(m_root.path() + "/plain");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(m_fake->write(m_work, "BSPC", "cwd"));
        OptionBoard board;
        board.setBspPath("/m/a.bsp");

        QCOMPARE(requestWithRealLauncher(board, host), QStringList{});

        const auto runs = waitForRuns(1);
        QCOMPARE(runs.size(), 1);
        QVERIFY(!runs[0].onTerminal);
        QCOMPARE(runs[0].arguments, (QStringList{"-bsp2aas", "/m/a.bsp"}));
        QCOMPARE(runs[0].directory, QFileInfo(m_work).canonicalFilePath());
    }

    // A host that takes its time to start: the press goes on without it, and the run still starts;
    // or, when the host then finds no terminal to give the compiler, it says so itself (without a
    // display, on its standard error), since the press can no longer tell the user.
    void aSlowHostDoesNotHoldUpThePress_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("told");
        QTest::addRow("then starts the run") << "sleep 1" << QString();
        QTest::addRow("then has no terminal to offer")
            << "sleep 0.2; ulimit -n 5"
            << "tarnwick-console: Could not set up a terminal for ";
    }

    void aSlowHostDoesNotHoldUpThePress()
    {
        QFETCH(QString, before);
        QFETCH(QString, told);
#if defined(__SANITIZE_ADDRESS__)
        if (!told.isEmpty()) {
            QSKIP("the sanitizers' own checks need the descriptors this case takes away");
        }
#endif
        const QString slowHost = m_root.path() + "/slow-host";
        const QString errors = m_root.path() + "/slow-host.errors";
        QFile::remove(errors);
        QFile wrapper(slowHost);
        QVERIFY(wrapper.open(QIODevice::WriteOnly | QIODevice::Truncate));
        wrapper.write(QStringLiteral("#!/bin/sh\nexec 2>'%1'\n%2\nexec '%3' \"$@\"\n")
                          .arg(errors, before, kHost)
                          .toUtf8());
        wrapper.close();
        QVERIFY(wrapper.setPermissions(FakeCompiler::executable()));
        QVERIFY(m_fake->write(m_work, "BSPC", "cwd"));
        OptionBoard board;
        board.setBspPath("/m/a.bsp");
        QElapsedTimer clock;
        clock.start();

        QCOMPARE(requestWithRealLauncher(board, slowHost, PosixLauncher::kHostPatience), QStringList{});

        QVERIFY2(clock.elapsed() < 150, "the press waited for the host");
        if (told.isEmpty()) {
            const auto runs = waitForRuns(1);
            QCOMPARE(runs.size(), 1);
            QVERIFY(runs[0].onTerminal);
        } else {
            const auto errorsSay = [&errors, &told] {
                QFile file(errors);
                return file.open(QIODevice::ReadOnly) && file.readAll().contains(told.toUtf8());
            };
            QFile said(errors);
            QVERIFY2(processProbe::eventually(errorsSay),
                     said.open(QIODevice::ReadOnly) ? said.readAll().constData() : "nothing said");
            QCOMPARE(m_fake->runs().size(), 0);
        }
    }

    // Without a host, the compiler's output goes where Tarnwick's own goes.
    void aDirectLaunchWritesToTheFrontEndsStandardOutput()
    {
        QVERIFY(m_fake->write(m_work, "BSPC", "loud", FakeCompiler::executable(), "/bin/sh",
                              "echo compiler-says-hello"));
        int pipeEnds[2];
        QCOMPARE(::pipe(pipeEnds), 0);
        const int savedOutput = ::dup(STDOUT_FILENO);
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[1]);
        OptionBoard board;
        board.setBspPath("/m/a.bsp");
        const QStringList shown = requestWithRealLauncher(board);
        ::dup2(savedOutput, STDOUT_FILENO);
        ::close(savedOutput);

        QByteArray output;
        char buffer[256];
        ssize_t got = 0;
        while ((got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
            output.append(buffer, got);
        }
        ::close(pipeEnds[0]);
        QCOMPARE(shown, QStringList{});
        QVERIFY(output.contains("compiler-says-hello"));
    }

    void cleanupTestCase()
    {
        QVERIFY(processProbe::eventually([] { return processProbe::zombieChildren() == 0; }));
    }
};

QTEST_GUILESS_MAIN(TestPosixLauncher)
#include "tst_posix_launcher.moc"
