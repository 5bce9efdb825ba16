#pragma once

#include <cstddef>
#include <sys/types.h>

// System calls that a signal may interrupt, tried again until they give a real answer.
ssize_t readRetrying(int descriptor, void* buffer, std::size_t size);
ssize_t writeRetrying(int descriptor, const void* buffer, std::size_t size);
pid_t waitpidRetrying(pid_t pid, int* status, int options);
