#include "path_text.h"

#include <QtTest>

class TestPathText : public QObject {
    Q_OBJECT

private slots:
    void lastFourCharactersNeverSplitOne_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("tail");

        QTest::addRow("plain") << QByteArray("/maps/dm1.bsp") << QByteArray(".bsp");
        QTest::addRow("shorter than four") << QByteArray("a.b") << QByteArray("a.b");
        QTest::addRow("empty") << QByteArray() << QByteArray();
        QTest::addRow("two-byte letters") << QByteArray("/m/ä.äsp") << QByteArray(".äsp");
        QTest::addRow("three-byte letters") << QByteArray("/m/地图.图") << QByteArray("地图.图");
        QTest::addRow("four-byte letters")
            << QByteArray("x\xF0\x9F\x97\xBA.b") << QByteArray("x\xF0\x9F\x97\xBA.b");
        QTest::addRow("lone continuation bytes count one each")
            << QByteArray("/m/\x80\x80\x80\x80\x80") << QByteArray("\x80\x80\x80\x80");
        QTest::addRow("truncated sequence at the end")
            << QByteArray("/m/ab\xE5\x9C") << QByteArray("ab\xE5\x9C");
        QTest::addRow("invalid lead byte") << QByteArray("/m/\xFF.bsp") << QByteArray(".bsp");
        QTest::addRow("only continuation bytes") << QByteArray("\x80\x80") << QByteArray("\x80\x80");
        QTest::addRow("embedded NUL") << QByteArray("a.b\0sp", 6) << QByteArray("b\0sp", 4);
    }

    void lastFourCharactersNeverSplitOne()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, tail);
        const std::string_view last =
            lastCharacters(std::string_view(text.constData(), size_t(text.size())), 4);
        QCOMPARE(QByteArray(last.data(), qsizetype(last.size())), tail);
    }

    void upperCasesAsciiLettersOnly_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("upper");
        QTest::addRow("lower case") << QByteArray(".bsp") << QByteArray(".BSP");
        QTest::addRow("mixed") << QByteArray(".aAs") << QByteArray(".AAS");
        QTest::addRow("long s stays itself") << QByteArray(".b\xC5\xBFp") << QByteArray(".B\xC5\xBFP");
        QTest::addRow("accented stays itself") << QByteArray("\xC3\xA4") << QByteArray("\xC3\xA4");
    }

    void upperCasesAsciiLettersOnly()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, upper);
        QCOMPARE(QByteArray::fromStdString(asciiUpper(text.toStdString())), upper);
    }
};

QTEST_APPLESS_MAIN(TestPathText)
#include "tst_path_text.moc"
