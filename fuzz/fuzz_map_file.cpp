// Map file reader: whatever the bytes, reading must not fail, and the numbers read, written
// back as a map file and read again, must be the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "contents/MapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto numbers = tarnbook::contents::readMapNumbers(input);
    std::string again;
    for (const auto& [name, number] : numbers)
        again += "#define " + name + " " + std::to_string(number) + "\r\n";
    if (tarnbook::contents::readMapNumbers(again) != numbers) std::abort();
    return 0;
}
