#pragma once

#include "child_watch.h"

#include <QObject>
#include <sys/types.h>

class QSocketNotifier;

// Reaps a child of this process from the event loop once it ends, so that programs started
// detached and never waited for leave no zombie behind. It watches a pidfd where the kernel has
// them, and looks every 100 ms where it has not. Each reaper belongs to the application object and
// goes once its child is reaped.
class ChildReaper : public QObject {
    Q_OBJECT

public:
    static void reapWhenEnded(pid_t pid);

private:
    ChildReaper(pid_t pid, QObject* parent);
    void tryReap();

    pid_t m_pid;
    ChildWatch m_watch;
};
