#include "system_file_access.h"

#include "file_time.h"
#include "owned_kernel_handle.h"
#include "wide_text.h"

#include <vector>

namespace {

constexpr DWORD kBlockSize = 64 * 1024;

} // namespace

std::optional<FileStamp> SystemFileAccess::stampOf(const std::string& path) const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(toWide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    const std::uint64_t size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const std::uint64_t ticks =
        (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return FileStamp{fromFileTime(ticks), size};
}

// Shared with any writer, so that the compiler or a program it left behind is never held up.
bool SystemFileAccess::read(const std::string& path, const BlockTaker& take) const
{
    const OwnedKernelHandle file = kernelHandle(CreateFileW(
        toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) {
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
