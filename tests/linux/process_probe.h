#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// What /proc tells about this test process.
namespace processProbe {

// Waits for a condition while the event loop runs, as QTRY_* do, but in cleanup() too, where
// QTRY_* give up at once once the test function has passed.
template <typename Condition> bool eventually(Condition condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

// Children that have exited but were never reaped.
inline int zombieChildren()
{
    int zombies = 0;
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + pid + "/stat");
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[0] == "Z" && fields[1] == self) {
            ++zombies;
        }
    }
    return zombies;
}

// Processes anywhere on the machine running `executable` with `directory` as working directory.
inline int processesRunning(const QString& executable, const QString& directory)
{
    const QString program = QFileInfo(executable).canonicalFilePath();
    const QString place = QFileInfo(directory).canonicalFilePath();
    int count = 0;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        if (pid.toInt() > 0 && QFile::symLinkTarget("/proc/" + pid + "/exe") == program &&
            QFile::symLinkTarget("/proc/" + pid + "/cwd") == place) {
            ++count;
        }
    }
    return count;
}

// Console hosts anywhere on the machine working in `directory`, in either of their two stages.
inline int consoleHostsRunning(const QString& starter, const QString& directory)
{
    const QString windowStage = QFileInfo(starter).absolutePath() + "/tarnwick-console-window";
    return processesRunning(starter, directory) + processesRunning(windowStage, directory);
}

inline qsizetype openDescriptors()
{
    return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size();
}

inline qint64 residentKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

} // namespace processProbe
