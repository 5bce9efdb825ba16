#include "open_file_dialog.h"
#include "test_main.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <functional>

// The real dialog, answered from inside its own event loop.
class TestOpenFileDialog : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_first;
    QString m_second;

    // Opens the dialog and runs `answer` on it once it shows.
    std::string openAndAnswer(OpenFileDialog& dialog, const std::function<void(QFileDialog*)>& answer)
    {
        QTimer poll;
        // A dialog that ignored the answer would wait forever; close it so the test fails instead.
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QFileDialog& shown = dialog.fileDialog();
        connect(&giveUp, &QTimer::timeout, &shown, &QDialog::reject);
        connect(&poll, &QTimer::timeout, this, [&] {
            if (shown.isVisible()) {
                poll.stop();
                answer(&shown);
                giveUp.start(2000);
            }
        });
        poll.start(10);
        return dialog.chooseFile();
    }

    // What a user does: type the file's full path into the dialog's file name box.
    static void pick(QFileDialog* dialog, const QString& path)
    {
        auto* fileNameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(fileNameBox != nullptr);
        fileNameBox->setText(path);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QDir(m_root.path()).mkpath("maps one");
        QDir(m_root.path()).mkpath("maps two");
        m_first = m_root.path() + "/maps one/dm 1.bsp";
        m_second = m_root.path() + "/maps two/dm2.BSP";
        for (const QString& path : {m_first, m_second}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void cleanup() { QTRY_VERIFY(noWindowLeftOpen()); }

    void startsEmptyWithTitleAndNoFilter()
    {
        QWidget parent;
        OpenFileDialog dialog(&parent, "Select Quake3 BSP", m_root.path());
        QCOMPARE(dialog.fileName(), std::string());
        const QFileDialog& shown = dialog.fileDialog();
        QCOMPARE(shown.windowTitle(), "Select Quake3 BSP");
        QCOMPARE(shown.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(shown.nameFilters(), QStringList{"All Files (*)"});
        QCOMPARE(QDir(shown.directory()).canonicalPath(), QDir(m_root.path()).canonicalPath());
        QCOMPARE(shown.parentWidget(), &parent);
    }

    void keepsTheChoiceThroughACancelAndReopensAtIt()
    {
        QWidget parent;
        OpenFileDialog dialog(&parent, QString(), QString());

        QCOMPARE(openAndAnswer(dialog, [](QFileDialog* shown) { shown->reject(); }), std::string());

        const std::string picked = openAndAnswer(dialog, [this](QFileDialog* shown) {
            pick(shown, m_first);
            static_cast<QDialog*>(shown)->accept();
        });
        QCOMPARE(QString::fromStdString(picked), m_first);

        QString openedIn;
        QStringList selectedOnOpening;
        const std::string afterCancel = openAndAnswer(dialog, [&](QFileDialog* shown) {
            openedIn = shown->directory().absolutePath();
            selectedOnOpening = shown->selectedFiles();
            shown->reject();
        });
        QCOMPARE(QString::fromStdString(afterCancel), m_first);
        QCOMPARE(openedIn, m_root.path() + "/maps one");
        QCOMPARE(selectedOnOpening, QStringList{m_first});

        const std::string second = openAndAnswer(dialog, [this](QFileDialog* shown) {
            pick(shown, m_second);
            static_cast<QDialog*>(shown)->accept();
        });
        QCOMPARE(QString::fromStdString(second), m_second);
        QCOMPARE(dialog.fileName(), second);
    }

    void findsTheQuake3MapsFolder()
    {
        QTemporaryDir home;
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        const QString none = OpenFileDialog::quake3MapDirectory();
        QDir(home.path()).mkpath(".q3a");
        const QString q3a = OpenFileDialog::quake3MapDirectory();
        QDir(home.path()).mkpath(".q3a/baseq3/maps");
        const QString maps = OpenFileDialog::quake3MapDirectory();
        qputenv("HOME", savedHome);

        QCOMPARE(none, QString());
        QCOMPARE(q3a, home.path() + "/.q3a");
        QCOMPARE(maps, home.path() + "/.q3a/baseq3/maps");
    }
};

TARNWICK_WIDGET_TEST_MAIN(TestOpenFileDialog)
#include "tst_open_file_dialog.moc"
