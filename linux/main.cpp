#include "appearance.h"
#include "main_window.h"
#include "open_file_dialog.h"
#include "posix_launcher.h"
#include "qt_message_box.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The program takes no arguments: Qt sees only the program's name, so nothing typed after it
    // can change anything. The platform is still chosen through Qt's environment.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("tarnwick"));
    QApplication::setDesktopFileName(QStringLiteral("org.tarnwick.Tarnwick"));
    applyAppearance(app);

    // The services are made here; the dialogs belong to the window they open over. The window ends
    // its session when it closes, before the services go.
    PosixLauncher launcher;
    MainWindow window;
    QtMessageBox messages(&window);
    auto* bspDialog = new OpenFileDialog(&window, QStringLiteral("Select Quake3 BSP"),
                                         OpenFileDialog::quake3MapDirectory());
    bspDialog->setObjectName(QStringLiteral("CommonDialog1"));
    auto* aasDialog = new OpenFileDialog(&window, QString(), QString());
    aasDialog->setObjectName(QStringLiteral("CommonDialog2"));
    window.serve({messages, launcher, *bspDialog, *aasDialog});
    window.show();
    return QApplication::exec();
}
