// Saves a picture of an X window (or of the whole screen) as PNG: x11_grab OUTPUT.png [WINDOW-ID]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 2) {
        return 2;
    }
    const WId window = arguments.size() > 2 ? arguments.at(2).toULongLong() : 0;
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    return picture.save(arguments.at(1), "PNG") ? 0 : 1;
}
