// What a front end makes of its console host's answer: the report lines both hosts send, read back
// as sent; anything else taken for a host that is not there; silence for a start.
#include "start_report.h"

#include <QtTest>

class TestStartReport : public QObject {
    Q_OBJECT

private slots:
    void readsTheHostsAnswer_data()
    {
        QTest::addColumn<QByteArray>("answer"); // a line, or (silence) or (closed)
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("acknowledged");
        const int started = int(ConsoleStartResult::Started);
        const int failed = int(ConsoleStartResult::ProgramFailed);
        const int unavailable = int(ConsoleStartResult::HostUnavailable);
        QTest::addRow("started") << QByteArray("started 0\n") << started << false;
        QTest::addRow("not a program") << QByteArray("failed 193\n") << failed << true;
        QTest::addRow("no terminal") << QByteArray("unavailable 24\n") << unavailable << true;
        QTest::addRow("the largest code") << QByteArray("failed 4294967295\n") << failed << true;
        QTest::addRow("cut short") << QByteArray("started 0") << unavailable << false;
        QTest::addRow("an unknown word") << QByteArray("stopped 0\n") << unavailable << false;
        QTest::addRow("no code") << QByteArray("failed \n") << unavailable << false;
        QTest::addRow("a code past 32 bits") << QByteArray("failed 4294967296\n") << unavailable << false;
        QTest::addRow("nothing") << QByteArray("\n") << unavailable << false;
        QTest::addRow("silence") << QByteArray("(silence)") << started << false;
        QTest::addRow("closed") << QByteArray("(closed)") << unavailable << false;
    }

    void readsTheHostsAnswer()
    {
        QFETCH(QByteArray, answer);
        const HostAnswer heard = answer == "(silence)"  ? HostAnswer(HostSilence{})
                                 : answer == "(closed)" ? HostAnswer(HostClosed{})
                                                        : HostAnswer(answer.toStdString());
        bool acknowledged = false;
        QTEST(int(startResultOf(heard, [&acknowledged] { acknowledged = true; })), "result");
        QTEST(acknowledged, "acknowledged");
        if (const std::optional<StartReport> report = StartReport::decode(answer.toStdString())) {
            QCOMPARE(report->encode(), answer.toStdString());
        }
    }
};

QTEST_APPLESS_MAIN(TestStartReport)
#include "tst_start_report.moc"
