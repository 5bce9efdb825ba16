// How the Windows console host tells a run's end, natively: the words for an exit code, the
// colours of the ending line, and the file times it compares, on the clock the shared logic keeps.
#include "file_time.h"
#include "run_ending.h"

#include <QtTest>

class TestRunEnding : public QObject {
    Q_OBJECT

private slots:
    void exitCodes_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("clean");
        QTest::addRow("success") << 0u << "Finished with exit status 0" << true;
        QTest::addRow("a fatal error") << 1u << "Finished with exit status 1" << false;
        QTest::addRow("exit(-1)") << 0xFFFFFFFFu << "Finished with exit status -1" << false;
        QTest::addRow("a negative status of warning severity")
            << 0x8000ABCDu << "Finished with exit status -2147439667" << false;
        QTest::addRow("access violation")
            << 0xC0000005u << "Ended by exception 0xC0000005 (access violation)" << false;
        QTest::addRow("stack buffer overrun")
            << 0xC0000409u << "Ended by exception 0xC0000409 (stack buffer overrun)" << false;
        QTest::addRow("Ctrl+C") << 0xC000013Au << "Ended by exception 0xC000013A (Ctrl+C)" << false;
        QTest::addRow("breakpoint") << 0x80000003u << "Ended by exception 0x80000003 (breakpoint)" << false;
        QTest::addRow("an unknown error status") << 0xC0001234u << "Ended by exception 0xC0001234" << false;
        QTest::addRow("an error status of a customer's, like -2")
            << 0xFFFFFFFEu << "Finished with exit status -2" << false;
    }

    void exitCodes()
    {
        QFETCH(quint32, code);
        const RunExit exit = runExitOf(code);
        QTEST(QString::fromStdString(exit.text), "text");
        QTEST(exit.clean, "clean");
    }

    // Bright on the usual dark background, dark on a light one, never the background's own colour;
    // the background and the other attribute bits stay.
    void endingColours_data()
    {
        QTest::addColumn<quint16>("current");
        QTest::addColumn<int>("tone");
        QTest::addColumn<quint16>("ending");
        QTest::addRow("warning, grey on black") << quint16(0x07) << int(EndingTone::Warning) << quint16(0x0E);
        QTest::addRow("bad, on blue, with a grid bit")
            << quint16(0x8017) << int(EndingTone::Bad) << quint16(0x801C);
        QTest::addRow("good, black on white") << quint16(0xF0) << int(EndingTone::Good) << quint16(0xF2);
        QTest::addRow("bad, on a red background") << quint16(0x47) << int(EndingTone::Bad) << quint16(0x4F);
    }

    void endingColours()
    {
        QFETCH(quint16, current);
        QFETCH(int, tone);
        QTEST(quint16(endingAttributes(current, EndingTone(tone))), "ending");
    }

    void fileTimes_data()
    {
        QTest::addColumn<quint64>("ticks");
        QTest::addColumn<qint64>("nanosecondsSince1970");
        QTest::addRow("1970") << quint64(116'444'736'000'000'000) << qint64(0);
        QTest::addRow("2024-01-01") << quint64(133'485'408'000'000'000)
                                    << qint64(1'704'067'200) * 1'000'000'000;
        QTest::addRow("a tick past 1970") << quint64(116'444'736'000'000'001) << qint64(100);
        QTest::addRow("1969-12-31 23:59:59") << quint64(116'444'735'990'000'000) << qint64(-1'000'000'000);
        // Past what the clock holds: the nearest date it can, two centuries on, never an overflow.
        QTest::addRow("the last tick") << quint64(UINT64_MAX) << qint64(6'324'480'000'955'161'500);
    }

    void fileTimes()
    {
        QFETCH(quint64, ticks);
        const auto since1970 = fromFileTime(ticks).time_since_epoch();
        QTEST(qint64(std::chrono::duration_cast<std::chrono::nanoseconds>(since1970).count()),
              "nanosecondsSince1970");
    }
};

QTEST_APPLESS_MAIN(TestRunEnding)
#include "tst_run_ending.moc"
