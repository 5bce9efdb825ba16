// Baseline: the least a Qt Widgets program can do, an empty window of our size and title.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tarnwick v0.05"));
    window.setFixedSize(328, 286);
    window.show();
    return QApplication::exec();
}
