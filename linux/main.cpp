#include "appearance.h"
#include "main_window.h"

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

    MainWindow window;
    window.show();
    return QApplication::exec();
}
