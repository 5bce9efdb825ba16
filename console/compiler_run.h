#pragma once

#include "pseudo_terminal.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <string_view>

// Watches a program on its pseudo-terminal from the event loop: hands on everything it writes, as
// fast as it writes it, and says once how it ended.
class CompilerRun : public QObject {
    Q_OBJECT

public:
    explicit CompilerRun(PseudoTerminal terminal, QObject* parent = nullptr);

    bool hasEnded() const { return m_ended; }
    // Hangs the program up, as closing its terminal would; nothing once it has ended.
    void hangUp();

signals:
    void output(std::string_view bytes);
    void ended(int waitStatus);

private:
    void readAvailable();
    void checkEnded();

    PseudoTerminal m_terminal;
    QSocketNotifier m_notifier;
    QTimer m_reaper;
    bool m_ended = false;
};
