#pragma once

#include "console_text.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class QPlainTextEdit;

// The window a compiler run gets: its output, shown as a plain terminal would show it, in a
// read-only view the user can select and copy from. Output arrives in any amount at any rate; the
// view takes what is new from its source at most kRefreshIntervalMs apart. A window minimized out
// of sight takes nothing, so that a run nobody watches costs no layout: its source keeps the
// newest lines, bounded by the scrollback, and the view catches up at once when it is restored.
class ConsoleWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRefreshIntervalMs = 50;
    using Source = std::function<ConsoleText::Update()>;

    ConsoleWindow(const QString& title, Source source, QWidget* parent = nullptr);

    // There is something new to take. Out of sight, it is only noted until the window is restored.
    void scheduleRefresh();
    // The program has ended: a window the user is not looking at asks for attention.
    void runEnded();

    // Qt reads "[*]" in a title as the place of a modified mark; this keeps every title literal.
    static QString literalTitle(const QString& title);

signals:
    // The user is closing the window.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool isOutOfSight() const;
    void catchUp();
    void refresh();
    void showUpdate(const ConsoleText::Update& update);
    void trimScrollback();
    QSize sizeForTerminal() const;

    Source m_source;
    QPlainTextEdit* m_view;
    QTimer m_refresh;
    // Something was announced while the window was out of sight.
    bool m_refreshPending = false;
    // Blocks at the end of the view that the next update replaces: the line the cursor is on, and
    // the ending line below it once there is one.
    int m_tailBlocks = 1;
};
