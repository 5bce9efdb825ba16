#include "system_file_access.h"

#include "file_time.h"
#include "owned_kernel_handle.h"
#include "wide_text.h"

#include <vector>

namespace {

constexpr DWORD kBlockSize = 64 * 1024;

// A file on disk, through any link, shared with every writer so that the compiler or a program it
// left behind is never held up; nothing for a folder (which opens only with backup semantics), a
// device or a pipe.
OwnedKernelHandle openFile(const std::string& path, DWORD access, DWORD flags)
{
    OwnedKernelHandle file = kernelHandle(CreateFileW(toWide(path).c_str(), access,
                                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                      nullptr, OPEN_EXISTING, flags, nullptr));
    return file && GetFileType(file.get()) == FILE_TYPE_DISK ? std::move(file) : OwnedKernelHandle();
}

} // namespace

std::optional<FileStamp> SystemFileAccess::stampOf(const std::string& path) const
{
    const OwnedKernelHandle file = openFile(path, FILE_READ_ATTRIBUTES, 0);
    BY_HANDLE_FILE_INFORMATION data{};
    if (!file || !GetFileInformationByHandle(file.get(), &data)) {
        return std::nullopt;
    }
    const std::uint64_t size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const std::uint64_t ticks =
        (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return FileStamp{fromFileTime(ticks), size};
}

bool SystemFileAccess::read(const std::string& path, const BlockTaker& take) const
{
    const OwnedKernelHandle file = openFile(path, GENERIC_READ, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file) {
        return false;
    }
    std::vector<std::uint8_t> buffer(kBlockSize);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), kBlockSize, &got, nullptr)) {
            return false;
        }
        if (got == 0 || !take(Block(buffer.data(), got))) {
            return true;
        }
    }
}
