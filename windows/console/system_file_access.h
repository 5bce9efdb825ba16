#pragma once

#include "file_access.h"

// The file access a run's watch needs, through the wide Win32 calls, so that any path the compiler
// may write is reached whatever the ANSI code page lacks.
class SystemFileAccess final : public FileAccess {
public:
    std::optional<FileStamp> stampOf(const std::string& path) const override;
    bool read(const std::string& path, const BlockTaker& take) const override;
};
