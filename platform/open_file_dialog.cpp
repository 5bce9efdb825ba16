#include "open_file_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
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
    const bool accepted = exec() == QDialog::Accepted;
    closeCompletionPopups();
    if (accepted && !selectedFiles().isEmpty()) {
        m_fileName = QFileInfo(selectedFiles().constFirst()).absoluteFilePath().toStdString();
    }
    return m_fileName;
}

// A completion list that opened while a path was typed can outlive the dialog and would swallow
// the user's next click on the main window.
void OpenFileDialog::closeCompletionPopups() {
    const QList<QCompleter*> completers = findChildren<QCompleter*>();
    for (QCompleter* completer : completers) {
        if (completer->popup() != nullptr) {
            completer->popup()->hide();
        }
    }
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
