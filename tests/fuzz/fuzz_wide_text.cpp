// The conversion between the logic's UTF-8 and Windows' UTF-16: any UTF-16 text (lone surrogates
// too, as file names may hold them) comes back unchanged through UTF-8, and any bytes at all
// settle after one conversion.
#include "fuzz_require.h"
#include "wide_text.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::wstring units;
    for (std::size_t at = 0; at + 1 < size; at += 2) {
        units += static_cast<wchar_t>(data[at] | (data[at + 1] << 8));
    }
    require(toWide(toUtf8(units)) == units);

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring wide = toWide(bytes);
    require(toWide(toUtf8(wide)) == wide);
    return 0;
}
