// The Windows program's text helpers, natively: what crosses between the logic's UTF-8 and
// Windows' UTF-16 comes back unchanged, a PATH splits as Windows splits it, and a command line is
// quoted and read by the rules the C runtimes and CommandLineToArgvW share.
#include "argument_quoting.h"
#include "search_path.h"
#include "wide_text.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::wstring)
Q_DECLARE_METATYPE(std::vector<std::wstring>)

class TestWindowsText : public QObject {
    Q_OBJECT

private slots:
    void utf16RoundTrips_data()
    {
        QTest::addColumn<std::wstring>("wide");
        QTest::addRow("ASCII") << std::wstring(L"C:\\maps\\dm 1.bsp");
        QTest::addRow("Latin and Cyrillic") << std::wstring(L"\u00e9t\u00e9 \u0416");
        QTest::addRow("fullwidth and CJK") << std::wstring(L"\uFF02\uFF4D \u65E5\u672C");
        QTest::addRow("a surrogate pair") << std::wstring{wchar_t(0xD83D), wchar_t(0xDDFA)};
        QTest::addRow("a lone high surrogate") << std::wstring{L'x', wchar_t(0xD800), L'y'};
        QTest::addRow("a lone low surrogate at the end") << std::wstring{L'x', wchar_t(0xDC00)};
        QTest::addRow("a low before a high") << std::wstring{wchar_t(0xDC00), wchar_t(0xD800)};
        QTest::addRow("empty") << std::wstring();
    }

    void utf16RoundTrips()
    {
        QFETCH(std::wstring, wide);
        QCOMPARE(toWide(toUtf8(wide)), wide);
    }

    void malformedUtf8BecomesReplacementCharacters_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<std::wstring>("wide");
        QTest::addRow("a stray continuation") << QByteArray("a\x80z") << std::wstring(L"a\uFFFDz");
        QTest::addRow("a cut sequence") << QByteArray("a\xe6\x97") << std::wstring(L"a\uFFFD\uFFFD");
        QTest::addRow("an overlong slash") << QByteArray("\xc0\xaf") << std::wstring(L"\uFFFD\uFFFD");
        QTest::addRow("past U+10FFFF")
            << QByteArray("\xf4\x90\x80\x80") << std::wstring(L"\uFFFD\uFFFD\uFFFD\uFFFD");
    }

    void malformedUtf8BecomesReplacementCharacters()
    {
        QFETCH(QByteArray, utf8);
        QTEST(toWide(std::string_view(utf8.constData(), std::size_t(utf8.size()))), "wide");
    }

    void pathSplitsAsWindowsSplitsIt_data()
    {
        QTest::addColumn<std::wstring>("path");
        QTest::addColumn<std::vector<std::wstring>>("folders");
        using Folders = std::vector<std::wstring>;
        QTest::addRow("plain") << std::wstring(L"C:\\a;C:\\b") << Folders{L"C:\\a", L"C:\\b"};
        QTest::addRow("quoted, holding a semicolon")
            << std::wstring(L"\"C:\\tools;x64\";C:\\b") << Folders{L"C:\\tools;x64", L"C:\\b"};
        QTest::addRow("empty entries") << std::wstring(L";;C:\\a;;;C:\\b") << Folders{L"C:\\a", L"C:\\b"};
        QTest::addRow("trailing semicolon") << std::wstring(L"C:\\a;") << Folders{L"C:\\a"};
        QTest::addRow("relative entries") << std::wstring(L"bin;..\\tools") << Folders{L"bin", L"..\\tools"};
        QTest::addRow("quotes inside a name")
            << std::wstring(L"C:\\my\" ;\"dir;x") << Folders{L"C:\\my ;dir", L"x"};
        QTest::addRow("an unclosed quote runs to the end")
            << std::wstring(L"\"C:\\a;b") << Folders{L"C:\\a;b"};
        QTest::addRow("nothing") << std::wstring() << Folders{};
        QTest::addRow("only quotes") << std::wstring(L"\"\";\"\"") << Folders{};
    }

    void pathSplitsAsWindowsSplitsIt()
    {
        QFETCH(std::wstring, path);
        QTEST(splitSearchPath(path), "folders");
    }

    // The examples of Microsoft's "Parsing C command-line arguments", and two of a program's name.
    void commandLinesReadAsDocumented_data()
    {
        QTest::addColumn<std::wstring>("line");
        QTest::addColumn<std::vector<std::wstring>>("arguments");
        using Arguments = std::vector<std::wstring>;
        QTest::addRow("quoted, then bare")
            << std::wstring(L"x.exe \"abc\" d e") << Arguments{L"abc", L"d", L"e"};
        QTest::addRow("backslashes not before a quote")
            << std::wstring(L"x.exe a\\\\\\b d\"e f\"g h") << Arguments{L"a\\\\\\b", L"de fg", L"h"};
        QTest::addRow("an odd run before a quote")
            << std::wstring(L"x.exe a\\\\\\\"b c d") << Arguments{L"a\\\"b", L"c", L"d"};
        QTest::addRow("an even run before a quote")
            << std::wstring(L"x.exe a\\\\\\\\\"b c\" d e") << Arguments{L"a\\\\b c", L"d", L"e"};
        QTest::addRow("a quoted name with blanks")
            << std::wstring(L"\"C:\\my tools\\x.exe\" -a\t\"b c\"") << Arguments{L"-a", L"b c"};
        QTest::addRow("a name's backslash before a quote is no escape")
            << std::wstring(L"\"C:\\tools\\\"x") << Arguments{L"x"};
    }

    void commandLinesReadAsDocumented()
    {
        QFETCH(std::wstring, line);
        std::wstring_view rest = afterProgramName(line);
        std::vector<std::wstring> read;
        while (std::optional<std::wstring> argument = takeArgument(rest)) {
            read.push_back(*argument);
        }
        QTEST(read, "arguments");
    }

    void quotedArgumentsReadBack_data()
    {
        QTest::addColumn<std::wstring>("argument");
        QTest::addRow("plain") << std::wstring(L"-bsp2aas");
        QTest::addRow("empty") << std::wstring();
        QTest::addRow("blanks and a tab") << std::wstring(L"C:\\my maps\\a\tb.bsp");
        QTest::addRow("a folder ending in a backslash") << std::wstring(L"C:\\");
        QTest::addRow("a folder with a blank, ending in a backslash") << std::wstring(L"C:\\my maps\\");
        QTest::addRow("quotes inside") << std::wstring(L"BSPC -bsp2aas \"C:\\x y.bsp\"");
        QTest::addRow("backslashes before a quote") << std::wstring(L"a\\\\\"b\\");
        QTest::addRow("shell's special characters") << std::wstring(L"%PATH% & ^ | < > !x!");
    }

    void quotedArgumentsReadBack()
    {
        QFETCH(std::wstring, argument);
        const std::wstring line = L"x.exe " + quotedArgument(argument) + L" next";
        std::wstring_view rest = afterProgramName(line);
        QCOMPARE(takeArgument(rest), std::optional(argument));
        QCOMPARE(takeArgument(rest), std::optional<std::wstring>(L"next"));
    }
};

QTEST_APPLESS_MAIN(TestWindowsText)
#include "tst_windows_text.moc"
