#include "qt_message_box.h"

#include <QMessageBox>

void QtMessageBox::showMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("tarnwick"), QString::fromStdString(text),
                    QMessageBox::Ok, m_parent);
    box.setObjectName(QStringLiteral("tarnwickMessage"));
    box.exec();
}
