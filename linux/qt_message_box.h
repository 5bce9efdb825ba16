#pragma once

#include "message_box.h"

#include <QPointer>
#include <QWidget>

// A modal box with one OK button, no icon, titled with the application's name.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent)
        : m_parent(parent)
    {
    }
    void showMessage(const std::string& text) override;

private:
    QPointer<QWidget> m_parent;
};
