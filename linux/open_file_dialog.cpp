#include "open_file_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>

OpenFileDialog::OpenFileDialog(QWidget* parent, const QString& title, const QString& initialDirectory)
    : QObject(parent)
    , m_parent(parent)
    , m_title(title)
    , m_initialDirectory(initialDirectory)
{
}

QFileDialog& OpenFileDialog::fileDialog()
{
    if (m_dialog == nullptr) {
        m_dialog = new QFileDialog(m_parent);
        m_dialog->setObjectName(objectName());
        m_dialog->setFileMode(QFileDialog::ExistingFile);
        m_dialog->setAcceptMode(QFileDialog::AcceptOpen);
        if (!m_title.isEmpty()) {
            m_dialog->setWindowTitle(m_title);
        }
        if (!m_initialDirectory.isEmpty()) {
            m_dialog->setDirectory(m_initialDirectory);
        }
    }
    return *m_dialog;
}

std::string OpenFileDialog::chooseFile()
{
    QFileDialog& dialog = fileDialog();
    if (!m_fileName.empty()) {
        const QFileInfo chosen(QString::fromStdString(m_fileName));
        dialog.setDirectory(chosen.absolutePath());
        dialog.selectFile(chosen.fileName());
    }
    const bool accepted = dialog.exec() == QDialog::Accepted;
    closeCompletionPopups();
    if (accepted && !dialog.selectedFiles().isEmpty()) {
        m_fileName = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath().toStdString();
    }
    return m_fileName;
}

// A completion list that opened while a path was typed can outlive the dialog and would swallow
// the user's next click on the main window.
void OpenFileDialog::closeCompletionPopups()
{
    const QList<QCompleter*> completers = fileDialog().findChildren<QCompleter*>();
    for (QCompleter* completer : completers) {
        if (completer->popup() != nullptr) {
            completer->popup()->hide();
        }
    }
}

QString OpenFileDialog::quake3MapDirectory()
{
    const QDir home = QDir::home();
    for (const QString& candidate : {QStringLiteral(".q3a/baseq3/maps"), QStringLiteral(".q3a")}) {
        if (QFileInfo(home, candidate).isDir()) {
            return home.absoluteFilePath(candidate);
        }
    }
    return {};
}
