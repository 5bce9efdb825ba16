#pragma once

#include "file_access.h"

// The file access a run's watch needs, through POSIX calls.
class SystemFileAccess final : public FileAccess {
public:
    std::optional<FileStamp> stampOf(const std::string& path) const override;
    bool read(const std::string& path, const BlockTaker& take) const override;
};
