#include "posix_launcher.h"

#include "console_start.h"
#include "program_lookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace {

// PATH's folders; an empty entry means the working directory, as it does for the shell's own search.
QStringList pathFolders()
{
    QStringList folders;
    if (!qEnvironmentVariableIsSet("PATH")) {
        return folders;
    }
    for (const QString& entry : qEnvironmentVariable("PATH").split(QLatin1Char(':'))) {
        folders << (entry.isEmpty() ? QStringLiteral(".") : entry);
    }
    return folders;
}

bool isExecutableFile(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

QStringList candidateNames(const QString& name)
{
    QStringList names{name};
    if (name.toLower() != name) {
        names << name.toLower();
    }
    return names;
}

} // namespace

std::optional<QString> PosixLauncher::findProgram(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) {
        return std::nullopt;
    }
    const auto join = [](const QString& folder, const QString& candidate) {
        return QDir(folder).filePath(candidate);
    };
    const std::optional<QString> found =
        lookUpProgram(QStringLiteral("."), pathFolders(), candidateNames(name), join, isExecutableFile);
    return found ? std::optional(QFileInfo(*found).absoluteFilePath()) : std::nullopt;
}

PosixLauncher::PosixLauncher()
    : PosixLauncher(installedConsoleHost())
{
}

PosixLauncher::PosixLauncher(QString consoleHost, std::chrono::milliseconds hostPatience)
    : m_consoleHost(std::move(consoleHost))
    , m_hostPatience(hostPatience)
{
}

QString PosixLauncher::installedConsoleHost()
{
    const QDir here(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral("tarnwick-console");
    const QString installed = here.filePath(QStringLiteral(TARNWICK_LIBEXEC_FROM_BIN "/tarnwick/") + name);
    for (const QString& path : {installed, here.filePath(name)}) {
        if (isExecutableFile(path)) {
            return QDir::cleanPath(path);
        }
    }
    return {};
}

void PosixLauncher::launch(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& title)
{
    const std::optional<QString> path = findProgram(QString::fromStdString(program));
    if (!path) {
        throw LaunchError::notFound(program);
    }
    if (isExecutableFile(m_consoleHost)) {
        const HostRequest request{std::nullopt, title, QFile::encodeName(*path).toStdString(), arguments};
        if (startedInConsole(
                startInConsole(QFile::encodeName(m_consoleHost).toStdString(), request, m_hostPatience),
                program)) {
            return;
        }
    }
    QStringList argumentList;
    argumentList.reserve(qsizetype(arguments.size()));
    for (const std::string& argument : arguments) {
        argumentList << QString::fromStdString(argument);
    }
    // Reports an exec failure too (a missing interpreter, say); the started program lives on its own.
    if (!QProcess::startDetached(*path, argumentList)) {
        throw LaunchError::notStarted(program);
    }
}
