#pragma once

#include "owned_descriptor.h"

#include <sys/types.h>

// Tells its user how to wait for a child's end: on a pidfd, readable once the child has ended, where
// the kernel has them, or else by looking every kLookIntervalMs. Reaping stays with the user.
class ChildWatch {
public:
    enum class Means { PidfdWhereAvailable, Polling };
    static constexpr int kLookIntervalMs = 100;

    explicit ChildWatch(pid_t pid, Means means = Means::PidfdWhereAvailable);

    // The pidfd to wait on, or -1 when the user must look every kLookIntervalMs.
    int descriptor() const { return m_pidfd.get(); }
    bool polls() const { return descriptor() < 0; }
    // The timeout for a poll() that waits on descriptor() with others: no limit with a pidfd.
    int pollTimeoutMs() const { return polls() ? kLookIntervalMs : -1; }

private:
    OwnedDescriptor m_pidfd;
};
