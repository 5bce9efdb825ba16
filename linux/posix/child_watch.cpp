#include "child_watch.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace {

// pidfd_open sets close-on-exec itself.
int openPidfd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

} // namespace

ChildWatch::ChildWatch(pid_t pid, Means means)
    : m_pidfd(means == Means::PidfdWhereAvailable ? openPidfd(pid) : -1)
{
}
