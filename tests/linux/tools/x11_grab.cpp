// Saves a picture of an X window, of the whole screen, or of a part of the screen as PNG:
//   x11_grab OUTPUT.png [WINDOW-ID [X Y WIDTH HEIGHT]]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 2 || (arguments.size() != 3 && arguments.size() != 7 && arguments.size() != 2)) {
        return 2;
    }
    const WId window = arguments.size() > 2 ? arguments.at(2).toULongLong() : 0;
    const bool part = arguments.size() == 7;
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(
        window, part ? arguments.at(3).toInt() : 0, part ? arguments.at(4).toInt() : 0,
        part ? arguments.at(5).toInt() : -1, part ? arguments.at(6).toInt() : -1);
    return picture.save(arguments.at(1), "PNG") ? 0 : 1;
}
