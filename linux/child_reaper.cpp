#include "child_reaper.h"

#include "retrying_calls.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <sys/wait.h>

namespace {

bool reaped(pid_t pid)
{
    return waitpidRetrying(pid, nullptr, WNOHANG) != 0; // ended and reaped, or not ours to reap at all
}

} // namespace

void ChildReaper::reapWhenEnded(pid_t pid)
{
    if (!reaped(pid) && QCoreApplication::instance() != nullptr) {
        new ChildReaper(pid, QCoreApplication::instance());
    }
}

ChildReaper::ChildReaper(pid_t pid, QObject* parent)
    : QObject(parent)
    , m_pid(pid)
    , m_watch(pid)
{
    if (m_watch.polls()) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &ChildReaper::tryReap);
        timer->start(ChildWatch::kLookIntervalMs);
    } else {
        auto* notifier = new QSocketNotifier(m_watch.descriptor(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &ChildReaper::tryReap);
    }
}

void ChildReaper::tryReap()
{
    if (reaped(m_pid)) {
        // Done with the descriptor now, so that its notifier cannot fire again.
        for (QSocketNotifier* notifier : findChildren<QSocketNotifier*>()) {
            notifier->setEnabled(false);
        }
        deleteLater();
    }
}
