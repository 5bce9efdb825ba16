#include "appearance.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

void applyAppearance(QApplication& app)
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
        app.setStyle(style);
    }
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(10);
    app.setFont(font);
}
