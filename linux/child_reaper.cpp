#include "child_reaper.h"

#include "retrying_calls.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kLookIntervalMs = 100;

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
    , m_pidfd(int(::syscall(SYS_pidfd_open, pid, 0)))
{
    if (m_pidfd >= 0) {
        auto* notifier = new QSocketNotifier(m_pidfd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &ChildReaper::tryReap);
    } else {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &ChildReaper::tryReap);
        timer->start(kLookIntervalMs);
    }
}

ChildReaper::~ChildReaper()
{
    if (m_pidfd >= 0) {
        ::close(m_pidfd);
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
