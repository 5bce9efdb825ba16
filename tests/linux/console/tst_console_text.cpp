#include "console_text.h"

#include <QtTest>

namespace {

// Everything the text holds: the finished lines, then the unfinished one.
QStringList linesAfter(ConsoleText& text)
{
    QStringList lines;
    for (const std::string& line : text.takeFinishedLines()) {
        lines << QString::fromStdString(line);
    }
    return lines << QString::fromStdString(text.currentLine());
}

} // namespace

class TestConsoleText : public QObject {
    Q_OBJECT

private slots:
    void showsWhatATerminalWould_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("lines");
        const QString replacement(QChar(0xFFFD));

        QTest::addRow("counter redrawn in place")
            << QByteArrayList{"\r     1", "\r     2", "\r    10"} << QStringList{"    10"};
        QTest::addRow("shorter text over longer keeps the rest")
            << QByteArrayList{"abcdef\rXY"} << QStringList{"XYcdef"};
        QTest::addRow("line feed and CR LF end lines")
            << QByteArrayList{"one\ntwo\r\nthree"} << QStringList{"one", "two", "three"};
        QTest::addRow("CR LF split across reads")
            << QByteArrayList{"one\r", "\ntwo"} << QStringList{"one", "two"};
        QTest::addRow("backspace steps back") << QByteArrayList{"abc\b\bX"} << QStringList{"aXc"};
        QTest::addRow("backspace stops at the start") << QByteArrayList{"\b\bab"} << QStringList{"ab"};
        QTest::addRow("tabs stop every eight columns")
            << QByteArrayList{"a\tb\tc", "\n12345678\tx"}
            << QStringList{"a       b       c", "12345678        x"};
        QTest::addRow("UTF-8 whole") << QByteArrayList{"k\xc3\xa4rt\xe5\x9c\xb0\xf0\x9f\x97\xba"}
                                     << QStringList{
                                            QString::fromUtf8("k\xc3\xa4rt\xe5\x9c\xb0\xf0\x9f\x97\xba")};
        QTest::addRow("UTF-8 split across reads")
            << QByteArrayList{"\xe5", "\x9c", "\xb0\xf0\x9f", "\x97\xba"}
            << QStringList{QString::fromUtf8("\xe5\x9c\xb0\xf0\x9f\x97\xba")};
        QTest::addRow("invalid bytes") << QByteArrayList{"a\xff"
                                                         "b\x80"
                                                         "c"}
                                       << QStringList{"a" + replacement + "b" + replacement + "c"};
        QTest::addRow("truncated sequence, then ASCII")
            << QByteArrayList{"\xe5\x9c", "x"} << QStringList{replacement + "x"};
        QTest::addRow("overlong and surrogate")
            << QByteArrayList{"\xc0\xaf|\xed\xa0\x80"}
            << QStringList{replacement + replacement + "|" + replacement + replacement + replacement};
        QTest::addRow("colours dropped")
            << QByteArrayList{"\x1b[1;31mred\x1b[0m plain"} << QStringList{"red plain"};
        QTest::addRow("escape split across reads")
            << QByteArrayList{"a\x1b", "[3", "8;5;2", "0mb"} << QStringList{"ab"};
        QTest::addRow("cursor moves dropped") << QByteArrayList{"\x1b[2J\x1b[H\x1b[10;5Hx\x1b"
                                                                "7\x1b"
                                                                "8"}
                                              << QStringList{"x"};
        QTest::addRow("title string dropped up to BEL or ST") << QByteArrayList{"\x1b]0;title\x07"
                                                                                "a\x1b]2;other\x1b",
                                                                                "\\b"}
                                                              << QStringList{"ab"};
        QTest::addRow("CAN abandons a title string")
            << QByteArrayList{"\x1b]0;t\x18visible"} << QStringList{"visible"};
        QTest::addRow("SUB abandons a device control string")
            << QByteArrayList{"\x1bPq\x1avisible"} << QStringList{"visible"};
        QTest::addRow("CSI in its one-character form") << QByteArrayList{"a\xc2\x9b"
                                                                         "1mb"}
                                                       << QStringList{"ab"};
        QTest::addRow("other controls show nothing") << QByteArrayList{"a\x07\x01\x7f"
                                                                       "b"}
                                                     << QStringList{"ab"};
        QTest::addRow("line and paragraph separators show nothing") << QByteArrayList{"a\xe2\x80\xa8"
                                                                                      "b\xe2\x80\xa9"
                                                                                      "c"}
                                                                    << QStringList{"abc"};
        QTest::addRow("a line that never ends wraps")
            << QByteArrayList{QByteArray(int(ConsoleText::kMaxColumns) + 3, 'x')}
            << QStringList{QString(int(ConsoleText::kMaxColumns), 'x'), "xxx"};
    }

    void showsWhatATerminalWould()
    {
        QFETCH(QByteArrayList, chunks);
        ConsoleText text;
        for (const QByteArray& chunk : chunks) {
            text.feed(std::string_view(chunk.constData(), std::size_t(chunk.size())));
        }
        QTEST(linesAfter(text), "lines");
    }

    void scrollbackKeepsTheNewestLines()
    {
        ConsoleText text;
        const int extra = 5;
        for (int line = 0; line < int(ConsoleText::kMaxLines) + extra; ++line) {
            text.feed(QByteArray::number(line).append('\n').toStdString());
        }
        const std::vector<std::string> lines = text.takeFinishedLines();
        QCOMPARE(lines.size(), ConsoleText::kMaxLines);
        QCOMPARE(lines.front(), std::to_string(extra));
        QVERIFY(text.takeFinishedLines().empty());
    }

    // What a user sees once the program has ended: the ending line always last, even below output
    // that the program's children write after it.
    void theEndingLineStaysLast_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("after an unfinished line")
            << QByteArray("\r  99") << QByteArray() << QStringList{"  99", "end"};
        QTest::addRow("after a finished line")
            << QByteArray("done\n") << QByteArray() << QStringList{"done", "end"};
        QTest::addRow("inside a character")
            << QByteArray("a\xe5\x9c") << QByteArray() << QStringList{"a\uFFFD", "end"};
        QTest::addRow("inside an escape")
            << QByteArray("a\x1b[3") << QByteArray("b") << QStringList{"ab", "end"};
        QTest::addRow("lines written after the end") << QByteArray("done\n") << QByteArray("late\nlater\n")
                                                     << QStringList{"done", "late", "later", "end"};
        QTest::addRow("unfinished line carried on after the end")
            << QByteArray("  99") << QByteArray(" late") << QStringList{"  99 late", "end"};
    }

    void theEndingLineStaysLast()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        ConsoleText text;
        text.feed(before.toStdString());
        text.setEnding({"end"});
        text.feed(after.toStdString());
        const ConsoleText::Update update = text.takeUpdate();
        QStringList lines;
        for (const std::string& line : update.finished) {
            lines << QString::fromStdString(line);
        }
        if (!update.current.empty()) {
            lines << QString::fromStdString(update.current);
        }
        QVERIFY(update.ending.has_value());
        QTEST(lines << QString::fromStdString(update.ending->line), "lines");
    }
};

QTEST_APPLESS_MAIN(TestConsoleText)
#include "tst_console_text.moc"
