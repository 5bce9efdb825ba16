#include "system_file_access.h"

#include "owned_descriptor.h"
#include "retrying_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

} // namespace

std::optional<FileStamp> SystemFileAccess::stampOf(const std::string& path) const
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return FileStamp{fileTimePoint(status.st_mtim.tv_sec, status.st_mtim.tv_nsec),
                     std::uint64_t(status.st_size)};
}

// Opened without blocking, so that a pipe or device under the file's name cannot hold the watch up.
bool SystemFileAccess::read(const std::string& path, const BlockTaker& take) const
{
    const OwnedDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    std::vector<std::uint8_t> buffer(kBlockSize);
    for (;;) {
        const ssize_t got = readRetrying(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            return false;
        }
        if (got == 0 || !take(Block(buffer.data(), std::size_t(got)))) {
            return true;
        }
    }
}
