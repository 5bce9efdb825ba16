#pragma once

#include <string>

// Shows a text in a modal box with a single OK button and returns once the user dismissed it.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void showMessage(const std::string& text) = 0;

protected:
    MessageBox() = default;
    MessageBox(const MessageBox&) = default;
    MessageBox& operator=(const MessageBox&) = default;
};
