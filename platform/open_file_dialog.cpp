#include "open_file_dialog.h"

#include <QDir>
#include <QFileInfo>

OpenFileDialog::OpenFileDialog(QWidget* parent, const QString& title, const QString& initialDirectory)
    : QFileDialog(parent) {
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    if (!title.isEmpty()) {
        setWindowTitle(title);
    }
    if (!initialDirectory.isEmpty()) {
        setDirectory(initialDirectory);
    }
}

std::string OpenFileDialog::chooseFile() {
    if (!m_fileName.empty()) {
        const QFileInfo chosen(QString::fromStdString(m_fileName));
        setDirectory(chosen.absolutePath());
        selectFile(chosen.fileName());
    }
    if (exec() == QDialog::Accepted && !selectedFiles().isEmpty()) {
        m_fileName = QFileInfo(selectedFiles().constFirst()).absoluteFilePath().toStdString();
    }
    return m_fileName;
}

QString OpenFileDialog::quake3MapDirectory() {
    const QDir home = QDir::home();
    for (const QString& candidate : {QStringLiteral(".q3a/baseq3/maps"), QStringLiteral(".q3a")}) {
        if (QFileInfo(home, candidate).isDir()) {
            return home.absoluteFilePath(candidate);
        }
    }
    return {};
}
