// Any bytes as the start of a file of any size: the header reader never reads past what it is
// given, looks at the header's own bytes alone, takes only an .aas of a known version as long as its
// header, and what fits a file still fits a larger one.
#include "aas_header.h"
#include "fuzz_require.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first eight bytes give the file's size; the rest is its start.
    if (size < sizeof(std::uint64_t)) {
        return 0;
    }
    std::uint64_t fileSize = 0;
    std::memcpy(&fileSize, data, sizeof fileSize);
    const std::span<const std::uint8_t> start(data + sizeof fileSize, size - sizeof fileSize);
    const AasHeader header = AasHeader::read(start, fileSize);

    require(AasHeader::read(start.first(std::min(start.size(), AasHeader::kSize)), fileSize) == header);
    require(header.isValid() || header.mapChecksum == 0);
    require(!header.isValid() ||
            (start.size() >= AasHeader::kSize && fileSize >= AasHeader::kSize &&
             std::memcmp(start.data(), "EAAS", 4) == 0 && (start[4] == 4 || start[4] == 5) && start[5] == 0 &&
             start[6] == 0 && start[7] == 0 &&
             (fileSize == UINT64_MAX || AasHeader::read(start, fileSize + 1).isValid())));
    return 0;
}
