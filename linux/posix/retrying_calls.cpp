#include "retrying_calls.h"

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

namespace {

template <typename Call> auto retrying(Call call)
{
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

} // namespace

ssize_t readRetrying(int descriptor, void* buffer, std::size_t size)
{
    return retrying([&] { return ::read(descriptor, buffer, size); });
}

ssize_t writeRetrying(int descriptor, const void* buffer, std::size_t size)
{
    return retrying([&] { return ::write(descriptor, buffer, size); });
}

pid_t waitpidRetrying(pid_t pid, int* status, int options)
{
    return retrying([&] { return ::waitpid(pid, status, options); });
}
