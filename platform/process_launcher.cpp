#include "process_launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace {

// The working directory first, then PATH; an empty PATH entry means the working directory, as it
// does for the shell's own search.
QStringList searchDirectories()
{
    QStringList directories{QStringLiteral(".")};
    if (!qEnvironmentVariableIsSet("PATH")) {
        return directories;
    }
    for (const QString& entry : qEnvironmentVariable("PATH").split(QLatin1Char(':'))) {
        directories << (entry.isEmpty() ? QStringLiteral(".") : entry);
    }
    return directories;
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

std::optional<QString> ProcessLauncher::findProgram(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) {
        return std::nullopt;
    }
    for (const QString& directory : searchDirectories()) {
        for (const QString& candidate : candidateNames(name)) {
            const QFileInfo file(QDir(directory), candidate);
            if (file.isFile() && file.isExecutable()) {
                return file.absoluteFilePath();
            }
        }
    }
    return std::nullopt;
}

void ProcessLauncher::launch(const std::string& program, const std::vector<std::string>& arguments)
{
    const std::optional<QString> path = findProgram(QString::fromStdString(program));
    if (!path) {
        throw LaunchError("program not found: " + program);
    }
    QStringList argumentList;
    argumentList.reserve(qsizetype(arguments.size()));
    for (const std::string& argument : arguments) {
        argumentList << QString::fromStdString(argument);
    }
    // Reports an exec failure too (a missing interpreter, say); the started program lives on its own.
    if (!QProcess::startDetached(*path, argumentList)) {
        throw LaunchError("program could not be started: " + program);
    }
}
