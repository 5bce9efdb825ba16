#include "map_checksum.h"

#include "little_endian.h"
#include "md4.h"

std::optional<std::uint32_t> mapChecksumOf(const FileAccess& files, const std::string& map)
{
    const std::optional<FileStamp> before = files.stampOf(map);
    if (!before || before->size == 0 || before->size > kMaxMapBytes) {
        return std::nullopt;
    }
    Md4 md4;
    std::uint64_t taken = 0;
    const bool whole = files.read(map, [&](FileAccess::Block block) {
        taken += block.size();
        md4.update(block);
        return taken <= before->size;
    });
    if (!whole || taken != before->size || files.stampOf(map) != before) {
        return std::nullopt;
    }
    const Md4::Digest digest = md4.digest();
    std::uint32_t folded = 0;
    for (std::size_t at = 0; at < digest.size(); at += 4) {
        folded ^= littleEndianWord(digest.data() + at);
    }
    return folded;
}
