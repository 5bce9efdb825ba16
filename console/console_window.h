#pragma once

#include "console_text.h"

#include <QTimer>
#include <QWidget>
#include <string_view>

class QPlainTextEdit;

// The window a compiler run gets: its output, shown as a plain terminal would show it, in a
// read-only view the user can select and copy from. Output arrives in any amount at any rate; the
// view is brought up to date at most kRefreshIntervalMs apart.
class ConsoleWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRefreshIntervalMs = 50;

    explicit ConsoleWindow(const QString& title, QWidget* parent = nullptr);

    void addOutput(std::string_view bytes);
    // A line of the console's own, after everything the program wrote.
    void addLine(const QString& line);

signals:
    // The user is closing the window.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void scheduleRefresh();
    void refresh();
    QSize sizeForTerminal() const;

    ConsoleText m_text;
    QPlainTextEdit* m_view;
    QTimer m_refresh;
};
