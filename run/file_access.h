#pragma once

#include "file_stamp.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

// What watching a run needs of the platform's file system, written once per platform as
// SystemFileAccess: a file's stamp, and its bytes block by block, so that memory stays the same
// for a file of any size. Paths are UTF-8.
class FileAccess {
public:
    using Block = std::span<const std::uint8_t>;
    // Takes each block in turn, and says whether to read on.
    using BlockTaker = std::function<bool(Block)>;

    virtual ~FileAccess() = default;

    // A regular file's stamp; nothing for a missing file, a folder or anything else.
    virtual std::optional<FileStamp> stampOf(const std::string& path) const = 0;
    // Reads a regular file from its start until its end or until `take` stops; false when it
    // cannot be opened or a read fails.
    virtual bool read(const std::string& path, const BlockTaker& take) const = 0;

protected:
    FileAccess() = default;
    FileAccess(const FileAccess&) = default;
    FileAccess& operator=(const FileAccess&) = default;
};
