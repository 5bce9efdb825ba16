#pragma once

#include "file_dialog.h"

#include <QFileDialog>
#include <QPointer>

// An open-file dialog of existing files, all files shown, that remembers the last file chosen:
// it reopens in that file's folder with the file selected, and a cancel keeps it. The dialog
// itself is built on first use, so that the window it belongs to starts as fast as one without.
class OpenFileDialog : public QObject, public FileDialog {
    Q_OBJECT

public:
    // An empty title or directory leaves the platform's default.
    OpenFileDialog(QWidget* parent, const QString& title, const QString& initialDirectory);

    std::string chooseFile() override;
    std::string fileName() const override { return m_fileName; }

    // The dialog shown to the user, a child of the parent window under this object's name.
    QFileDialog& fileDialog();

    // Where Quake3 keeps its maps for this user: the first that exists of ~/.q3a/baseq3/maps and
    // ~/.q3a, or empty when neither does.
    static QString quake3MapDirectory();

private:
    void closeCompletionPopups();

    QPointer<QWidget> m_parent;
    QString m_title;
    QString m_initialDirectory;
    QPointer<QFileDialog> m_dialog;
    std::string m_fileName;
};
