// What the console reads of an .aas and its map: the header as the game checks it, RFC 1320's MD4
// and the map's checksum, and neither from a file that cannot be read whole as it was.
#include "aas_header.h"
#include "map_checksum.h"
#include "md4.h"
#include "run_watch.h"

#include <QtTest>

using namespace std::chrono_literals;
using Header = std::optional<AasHeader>;
using Fault = AasHeader::Fault;

Q_DECLARE_METATYPE(Header)

namespace {

constexpr std::uint32_t kMap = 0xB01B0E9A;
const std::chrono::system_clock::time_point kModified(1'800'000'000s);

// The header of the 7,600-byte testbox.aas the real compiler writes, version 5, for kMap.
const QByteArray kTestboxHeader = QByteArray::fromHex(
    "45414153050000009a79f5d5a053ca41f82fa61d280b82f900e55ed560c03ab1809d168dd07ef269c854ce45403baa21a80b86"
    "fd58e662d9f0c23eb5e0b11a91587ef66df84fd249d035ae25b0058a014cee66dd34dc42b9cca31e95509ffa71c85ed64db826"
    "b229b4178e05ecee6ae158cf46bda4b622993087fe75");

// A version 4 header, which is not scrambled: lumps of 100 bytes one after the other from the
// header's end, the last one as given.
QByteArray version4Header(std::int32_t lastLength = 100, std::int32_t lastOffset = 0)
{
    std::vector<std::int32_t> words{0x53414145, 4, std::int32_t(kMap)};
    for (std::int32_t lump = 0; lump < 14; ++lump) {
        words.insert(
            words.end(),
            {lump == 13 && lastOffset != 0 ? lastOffset : std::int32_t(AasHeader::kSize) + 100 * lump,
             lump == 13 ? lastLength : 100});
    }
    return QByteArray(reinterpret_cast<const char*>(words.data()), qsizetype(4 * words.size()));
}

FileAccess::Block bytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())};
}

// A file in memory, read seven bytes at a time, that can fail to be read or change while it is read.
class FakeFiles : public FileAccess {
public:
    QByteArray bytes;
    std::uint64_t size = 0;
    bool readFails = false;
    bool changesWhileRead = false;

    std::optional<FileStamp> stampOf(const std::string&) const override
    {
        return FileStamp{kModified + (m_read && changesWhileRead ? 1s : 0s), size};
    }

    bool read(const std::string&, const BlockTaker& take) const override
    {
        m_read = true;
        for (qsizetype at = 0; !readFails && at < bytes.size() && take(bytesOf(bytes.mid(at, 7))); at += 7) {
        }
        return !readFails;
    }

private:
    mutable bool m_read = false;
};

} // namespace

class TestAasHeader : public QObject {
    Q_OBJECT

private slots:
    void readsAnAasHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<int>("fault");
        const qint64 whole = AasHeader::kSize + 1400;
        QTest::addRow("version 5, as the compiler writes it")
            << kTestboxHeader << qint64(7600) << int(Fault::None);
        QTest::addRow("version 4, not scrambled") << version4Header() << whole << int(Fault::None);
        QTest::addRow("shorter than a header")
            << kTestboxHeader.left(123) << qint64(123) << int(Fault::TooShort);
        QTest::addRow("3,000 zero bytes") << QByteArray(3000, '\0') << qint64(3000) << int(Fault::NotAas);
        QTest::addRow("version 6") << version4Header().replace(4, 1, "\x06") << whole
                                   << int(Fault::UnknownVersion);
        QTest::addRow("the last lump past the end")
            << kTestboxHeader << qint64(7599) << int(Fault::LumpOutside);
        QTest::addRow("an empty lump anywhere") << version4Header(0, -5) << whole - 100 << int(Fault::None);
        QTest::addRow("a negative length") << version4Header(-1) << whole << int(Fault::LumpOutside);
        QTest::addRow("a negative offset") << version4Header(100, -5) << whole << int(Fault::LumpOutside);
    }

    void readsAnAasHeader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, fileSize);
        const AasHeader header = AasHeader::read(bytesOf(bytes), std::uint64_t(fileSize));
        QTEST(int(header.fault), "fault");
        QCOMPARE(header.mapChecksum, header.isValid() ? kMap : 0);
    }

    // RFC 1320's test suite; a map's checksum below is fed in pieces.
    void digestsAsMd4_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("digest");
        QTest::addRow("empty") << QByteArray() << QByteArray("31d6cfe0d16ae931b73c59d7e0c089c0");
        QTest::addRow("a") << QByteArray("a") << QByteArray("bde52cb31de33e46245e05fbdbd6fb24");
        QTest::addRow("abc") << QByteArray("abc") << QByteArray("a448017aaf21d8525fc10ae87aa6729d");
        QTest::addRow("message digest")
            << QByteArray("message digest") << QByteArray("d9130a8164549fe818874806e1c7014b");
        QTest::addRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz")
                                  << QByteArray("d79e1c308aa5bbcdeea8ed63df412da9");
        QTest::addRow("letters and digits")
            << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
            << QByteArray("043f8582f241db351ce627e153e7f0e4");
        QTest::addRow("eight times 1 to 0")
            << QByteArray("1234567890").repeated(8) << QByteArray("e33b4ddc9c38f2199c3e7b164fcc0536");
    }

    void digestsAsMd4()
    {
        QFETCH(QByteArray, message);
        Md4 md4;
        md4.update(bytesOf(message));
        const Md4::Digest digest = md4.digest();
        QTEST(QByteArray(reinterpret_cast<const char*>(digest.data()), int(digest.size())).toHex(), "digest");
    }

    // A map's checksum, its digest's words folded by XOR, only when the whole map was read as it was,
    // and in time.
    void checksumsAMapOnlyWhenReadWhole_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("readFails");
        QTest::addColumn<bool>("changesWhileRead");
        QTest::addColumn<int>("patienceMs");
        QTest::addColumn<qint64>("checksum"); // -1 for none
        QTest::addRow("read whole") << qint64(100) << false << false << 1000 << qint64(0x3F7FBE11);
        QTest::addRow("empty") << qint64(0) << false << false << 1000 << qint64(-1);
        QTest::addRow("a read that fails") << qint64(100) << true << false << 1000 << qint64(-1);
        QTest::addRow("changed while read") << qint64(100) << false << true << 1000 << qint64(-1);
        QTest::addRow("grown while read") << qint64(99) << false << false << 1000 << qint64(-1);
        QTest::addRow("not read in time") << qint64(100) << false << false << 0 << qint64(-1);
    }

    void checksumsAMapOnlyWhenReadWhole()
    {
        QFETCH(qint64, size);
        QFETCH(bool, readFails);
        QFETCH(bool, changesWhileRead);
        QFETCH(int, patienceMs);
        FakeFiles files;
        files.bytes = QByteArray(100, 'm');
        files.size = std::uint64_t(size);
        files.readFails = readFails;
        files.changesWhileRead = changesWhileRead;
        const std::optional<std::uint32_t> checksum =
            mapChecksumOf(files, "/maps/dm1.bsp", std::chrono::milliseconds(patienceMs));
        QTEST(checksum ? qint64(*checksum) : qint64(-1), "checksum");
    }

    // An .aas as it is now: its header put together from pieces, but none from a file that changed
    // while it was read.
    void readsTheFileAsItIsNow_data()
    {
        QTest::addColumn<bool>("changesWhileRead");
        QTest::addColumn<Header>("header");
        QTest::addRow("whole") << false << Header(AasHeader{Fault::None, kMap});
        QTest::addRow("changed while read") << true << Header();
    }

    void readsTheFileAsItIsNow()
    {
        QFETCH(bool, changesWhileRead);
        FakeFiles files;
        files.bytes = kTestboxHeader;
        files.size = 7600;
        files.changesWhileRead = changesWhileRead;
        const FileState state = fileStateOf(files, RunOutputs::of({"-bsp2aas", "/maps/dm1.bsp"}, "/q3"));
        QCOMPARE(state.stamp, std::optional(FileStamp{kModified, 7600}));
        QTEST(state.header, "header");
    }
};

QTEST_APPLESS_MAIN(TestAasHeader)
#include "tst_aas_header.moc"
