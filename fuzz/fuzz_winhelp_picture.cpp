// WinHelp pictures (.bmp, .shg, .mrb) decoded and written as PNG.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "winhelp/Bitmaps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string reason;
    (void)tarnbook::winhelp::pictureToPng(bytes, &reason);
    return 0;
}
