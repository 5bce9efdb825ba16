#include "map_checksum.h"

#include "little_endian.h"
#include "md4.h"

std::optional<std::uint32_t> mapChecksumOf(const FileAccess& files, const std::string& map,
                                           std::chrono::steady_clock::duration patience)
{
    const std::optional<FileStamp> before = files.stampOf(map);
    if (!before || before->size == 0) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    Md4 md4;
    std::uint64_t taken = 0;
    bool inTime = true;
    const bool read = files.read(map, [&](FileAccess::Block block) {
        taken += block.size();
        md4.update(block);
        inTime = std::chrono::steady_clock::now() < deadline;
        return inTime && taken <= before->size;
    });
    if (!read || !inTime || taken != before->size || files.stampOf(map) != before) {
        return std::nullopt;
    }
    const Md4::Digest digest = md4.digest();
    std::uint32_t folded = 0;
    for (std::size_t at = 0; at < digest.size(); at += 4) {
        folded ^= littleEndianWord(digest.data() + at);
    }
    return folded;
}
