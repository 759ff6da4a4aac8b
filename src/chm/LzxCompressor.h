#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// LZX compression as compiled help files carry it: the data is cut into frames of 32 KB, the
// coder starts afresh every reset interval, and each frame begins on a 16-bit boundary of the
// output so that a reader can start at any interval. Each frame is one block, verbatim or
// aligned-offset, whichever is smaller, with its own Huffman trees.
namespace tarnbook::chm {

inline constexpr std::size_t kLzxFrameSize = 0x8000;

struct LzxOptions {
    int windowBits = 16;                  // 64 KB window, as the Workshop compiler uses
    std::size_t resetInterval = 0x10000;  // bytes; a multiple of the frame size, <= the window
    unsigned threads = 0;  // 0: as many as the machine has (intervals are independent)
    int chainDepth = 64;   // match-finder effort
    // Called after each finished reset interval with (bytes done, bytes in total).
    std::function<void(std::size_t, std::size_t)> progress;
};

struct LzxOutput {
    std::string data;
    std::vector<std::uint64_t> frameOffsets;  // offset in `data` where each frame begins
};

LzxOutput lzxCompress(std::string_view input, const LzxOptions& options = {});

}  // namespace tarnbook::chm
