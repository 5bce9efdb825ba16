#pragma once

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// Writes executable stand-ins for the compiler that record, for each run, their tag, their parent's
// pid, their working directory, whether their output is a terminal, TERM, and their arguments
// (NUL-separated) into one file per run under a record folder.
class FakeCompiler {
public:
    struct Run {
        qint64 pid = 0;
        QString tag;
        qint64 parentPid = 0;
        QString directory;
        bool onTerminal = false;
        QString term;
        QStringList arguments;
    };

    explicit FakeCompiler(const QString& recordDirectory)
        : m_records(recordDirectory)
    {
        QDir().mkpath(m_records);
    }

    // A script named `name` in `directory`; `body` runs after recording (e.g. "sleep 5").
    bool write(const QString& directory, const QString& name, const QString& tag,
               QFile::Permissions permissions = executable(), const QString& interpreter = "/bin/sh",
               const QString& body = {}) const
    {
        QDir().mkpath(directory);
        QFile script(directory + '/' + name);
        if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return false;
        }
        const QString record = m_records + "/run.$$";
        script.write(QStringLiteral("#!%1\n"
                                    "if [ -t 1 ]; then output=tty; else output=none; fi\n"
                                    "{ printf '%s\\n%s\\n%s\\n' '%2' \"$PPID\" \"$(pwd -P)\";"
                                    "  printf '%s\\n%s\\n' \"$output\" \"${TERM-}\";"
                                    "  printf '%s\\0' \"$@\"; } > \"%3.tmp\"\n"
                                    "/bin/mv \"%3.tmp\" \"%3\"\n%4\n")
                         .arg(interpreter, tag, record, body)
                         .toUtf8());
        script.close();
        return script.setPermissions(permissions);
    }

    static QFile::Permissions executable()
    {
        return QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
    }

    QList<Run> runs() const
    {
        QList<Run> runs;
        const QStringList files = QDir(m_records).entryList({"run.*"}, QDir::Files, QDir::Name);
        for (const QString& name : files) {
            if (name.endsWith(".tmp")) {
                continue;
            }
            QFile file(m_records + '/' + name);
            if (!file.open(QIODevice::ReadOnly)) {
                continue;
            }
            const QByteArray data = file.readAll();
            QList<QByteArray> header;
            qsizetype at = 0;
            for (int field = 0; field < 5; ++field) {
                const qsizetype end = data.indexOf('\n', at);
                header << data.mid(at, end - at);
                at = end + 1;
            }
            Run run{name.section('.', 1).toLongLong(),
                    QString::fromUtf8(header[0]),
                    header[1].toLongLong(),
                    QString::fromUtf8(header[2]),
                    header[3] == "tty",
                    QString::fromUtf8(header[4]),
                    {}};
            QByteArray rest = data.mid(at);
            while (!rest.isEmpty()) {
                const qsizetype end = rest.indexOf('\0');
                run.arguments << QString::fromUtf8(rest.left(end));
                rest = rest.mid(end + 1);
            }
            runs << run;
        }
        return runs;
    }

    // Finished runs, counted without reading them.
    qsizetype runCount() const
    {
        return QDir(m_records)
            .entryList({"run.*"}, QDir::Files)
            .filter(QRegularExpression("^run\\.\\d+$"))
            .size();
    }

    // Waits until exactly `count` runs have finished, or a generous time has passed.
    bool waitForRuns(qsizetype count) const
    {
        QDeadlineTimer deadline(20000);
        while (runCount() < count && !deadline.hasExpired()) {
            QTest::qWait(10);
        }
        return runCount() == count;
    }

    void clear() const
    {
        QDir records(m_records);
        records.removeRecursively();
        QDir().mkpath(m_records);
    }

private:
    QString m_records;
};
