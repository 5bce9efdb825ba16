#include "argument_vector.h"
#include "child_watch.h"
#include "owned_descriptor.h"

#include <QtTest>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum class Ending { Destroyed, Released, MovedAway };

bool isOpen(int descriptor)
{
    return ::fcntl(descriptor, F_GETFD) >= 0;
}

// What exec sees: the strings up to the null pointer.
QStringList seenByExec(const ArgumentVector& argv)
{
    QStringList strings;
    for (char* const* entry = argv.data(); *entry != nullptr; ++entry) {
        strings << QString::fromUtf8(*entry);
    }
    return strings;
}

// Waits as the terminal pump does: on the pidfd, or looking every interval; gives the wait status.
std::optional<int> awaitEnd(const ChildWatch& watch, pid_t pid)
{
    for (int look = 0; look < 100; ++look) {
        pollfd waiting{watch.descriptor(), POLLIN, 0};
        int status = 0;
        if (::poll(&waiting, 1, watch.pollTimeoutMs()) < 0 || ::waitpid(pid, &status, WNOHANG) == pid) {
            return status;
        }
    }
    return std::nullopt;
}

} // namespace

Q_DECLARE_METATYPE(Ending)
Q_DECLARE_METATYPE(ChildWatch::Means)

class TestPosixHelpers : public QObject {
    Q_OBJECT

private slots:
    void argumentVectorHoldsCopiesEndedByNull_data()
    {
        QTest::addColumn<QStringList>("strings");
        QTest::addRow("empty") << QStringList{};
        QTest::addRow("one") << QStringList{"/bin/true"};
        QTest::addRow("several") << QStringList{"/opt/maps/compiler", "-bsp2map", "maps/a b.bsp"};
        QTest::addRow("blank") << QStringList{"/bin/echo", "", " "};
        QTest::addRow("non-ASCII") << QStringList{"/bin/echo", "Zürich", "地図.bsp"};
    }
    void argumentVectorHoldsCopiesEndedByNull()
    {
        QFETCH(QStringList, strings);
        std::vector<std::string> list;
        for (const QString& text : strings) {
            list.push_back(text.toStdString());
        }
        // Built from a temporary: the pointers must not point into it.
        const ArgumentVector whole{std::vector<std::string>(list)};
        QCOMPARE(seenByExec(whole), strings);
        QCOMPARE(whole[list.size()], nullptr);
        if (!list.empty()) {
            const ArgumentVector split(list.front(), {list.begin() + 1, list.end()});
            QCOMPARE(seenByExec(split), strings);
        }
    }

    void descriptorIsClosedOnceByItsLastOwner_data()
    {
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<bool>("leftOpen");
        QTest::addRow("destroyed") << Ending::Destroyed << false;
        QTest::addRow("released") << Ending::Released << true;
        QTest::addRow("moved away") << Ending::MovedAway << true;
    }
    void descriptorIsClosedOnceByItsLastOwner()
    {
        QFETCH(Ending, ending);
        const int previous = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        const int descriptor = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        QVERIFY(previous >= 0 && descriptor >= 0);
        OwnedDescriptor keeper(previous);
        {
            OwnedDescriptor owner(descriptor);
            QCOMPARE(owner.get(), descriptor);
            if (ending == Ending::Released) {
                keeper.reset(owner.release());
            } else if (ending == Ending::MovedAway) {
                keeper = OwnedDescriptor(std::move(owner));
            }
        }
        QTEST(isOpen(descriptor), "leftOpen");
        keeper.reset();
        QVERIFY(!isOpen(descriptor) && !isOpen(previous));
    }

    void childWatchSeesTheEnd_data()
    {
        QTest::addColumn<ChildWatch::Means>("means");
        QTest::addColumn<bool>("polls");
        QTest::addRow("pidfd") << ChildWatch::Means::PidfdWhereAvailable << false;
        QTest::addRow("polling") << ChildWatch::Means::Polling << true;
    }
    void childWatchSeesTheEnd()
    {
        QFETCH(ChildWatch::Means, means);
        QFETCH(bool, polls);
        int release[2];
        QVERIFY(::pipe2(release, O_CLOEXEC) == 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            char byte = 0;
            ::close(release[1]);
            ::_exit(::read(release[0], &byte, 1) == 0 ? 3 : 4); // ends once the test lets it
        }
        ::close(release[0]);
        const ChildWatch watch(pid, means);
        if (!polls && watch.polls()) {
            ::close(release[1]);
            ::waitpid(pid, nullptr, 0);
            QSKIP("this kernel has no pidfd");
        }
        QCOMPARE(watch.polls(), polls);
        QCOMPARE(::fcntl(watch.descriptor(), F_GETFD) == FD_CLOEXEC, !polls);
        pollfd waiting{watch.descriptor(), POLLIN, 0};
        QCOMPARE(::poll(&waiting, 1, 0), 0); // not before the child has ended
        ::close(release[1]);
        const std::optional<int> status = awaitEnd(watch, pid);
        QVERIFY(status && WIFEXITED(*status));
        QCOMPARE(WEXITSTATUS(*status), 3);
    }
};

QTEST_APPLESS_MAIN(TestPosixHelpers)
#include "tst_posix_helpers.moc"
