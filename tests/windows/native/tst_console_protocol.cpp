// The console host's request, natively: it reaches the host whole, with the compiler's command line
// character for character.
#include "host_request.h"

#include <QtTest>

Q_DECLARE_METATYPE(HostRequest)

namespace {

const std::wstring kHost = L"C:\\Program Files\\Tarnwick\\tarnwick-console.exe";

} // namespace

class TestConsoleProtocol : public QObject {
    Q_OBJECT

private slots:
    void requestRoundTrips_data()
    {
        QTest::addColumn<HostRequest>("request");
        const std::wstring line = L"BSPC -bsp2aas \"C:\\maps\\dm1.bsp\"";
        QTest::addRow("plain") << HostRequest{7, L"C:\\q3", L"C:\\q3\\BSPC.exe", line};
        QTest::addRow("no report pipe") << HostRequest{std::nullopt, L"C:\\q3", L"C:\\q3\\BSPC.exe", line};
        QTest::addRow("a root folder, which ends in a backslash")
            << HostRequest{1, L"C:\\", L"C:\\BSPC.exe", line};
        const std::wstring odd = L"BSPC -bsp2aas \"C:\\my maps\\a&b ^c% %PATH% !x!.bsp\" -threads 2";
        QTest::addRow("blanks, ampersand, caret, percent")
            << HostRequest{42, L"C:\\Quake 3 & tools\\%CD%", L"C:\\Quake 3 & tools\\%CD%\\BSPC.exe", odd};
        const std::wstring quoted = L"\"BSPC\" -bsp2aas \"C:\\a\\\" -nocsg \\\"b.bsp\" \"C:\\dir\\\\\"";
        QTest::addRow("quotes and escapes in the compiler's line")
            << HostRequest{3, L"C:\\q3", L"C:\\q3\\BSPC.exe", quoted};
        const std::wstring letters = L"BSPC -bsp2aas \"C:\\\u00e9t\u00e9\\\u65e5\u672c \U0001F5FA.bsp\"";
        QTest::addRow("letters beyond ASCII")
            << HostRequest{5, L"C:\\\u00e9t\u00e9", L"C:\\\u00e9t\u00e9\\BSPC.exe", letters};
        QTest::addRow("blanks and tabs around and inside the compiler's line")
            << HostRequest{9, L"C:\\q3", L"C:\\q3\\BSPC.exe", L"  BSPC\t -bsp2aas  x.bsp  "};
        QTest::addRow("a handle as large as they come")
            << HostRequest{std::numeric_limits<std::uintptr_t>::max(), L"C:\\q3", L"C:\\q3\\BSPC.exe", line};
    }

    void requestRoundTrips()
    {
        QFETCH(HostRequest, request);
        const std::wstring line = request.toCommandLine(kHost);
        QVERIFY(line.ends_with(L' ' + request.commandLine));
        QCOMPARE(HostRequest::fromCommandLine(line), std::optional(request));
    }

    void brokenRequestsAreRefused_data()
    {
        QTest::addColumn<std::wstring>("line");
        QTest::addRow("nothing") << std::wstring();
        QTest::addRow("the host alone") << std::wstring(L"\"C:\\t\\tarnwick-console.exe\"");
        QTest::addRow("no compiler's line") << std::wstring(L"host - C:\\q3 C:\\q3\\BSPC.exe");
        QTest::addRow("no compiler's line after the blank")
            << std::wstring(L"host - C:\\q3 C:\\q3\\BSPC.exe ");
        QTest::addRow("a handle that is no number")
            << std::wstring(L"host 0x1c C:\\q3 C:\\q3\\BSPC.exe BSPC");
        QTest::addRow("a handle past the largest")
            << std::wstring(L"host 99999999999999999999999 C:\\q3 C:\\q3\\BSPC.exe BSPC");
    }

    void brokenRequestsAreRefused()
    {
        QFETCH(std::wstring, line);
        QCOMPARE(HostRequest::fromCommandLine(line), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(TestConsoleProtocol)
#include "tst_console_protocol.moc"
