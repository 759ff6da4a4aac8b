#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// WinHelp pictures (.bmp, .dib, and the segmented .shg/.mrb form that wraps bitmaps) decoded
// to pixels and written as PNG. Metafiles cannot be converted; they are reported.
namespace tarnbook::winhelp {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // top row first, 4 bytes a pixel
};

// The fields of a device-independent bitmap that decoding needs.
struct DibInfo {
    int width = 0;
    int height = 0;  // negative: rows stored top first
    int bitCount = 0;
    int compression = 0;                 // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::uint32_t masks[3] = {0, 0, 0};  // bit fields: red, green, blue
};

// Decodes the pixel bytes of a DIB. Returns nullopt and sets `error` for a layout it does not
// know or data that ends early.
std::optional<Image> decodeDib(const DibInfo& info, std::string_view pixels, std::string* error);

// A whole .bmp file.
std::optional<Image> decodeBmp(std::string_view bytes, std::string* error);

// The first bitmap of a segmented picture file (.shg, .mrb).
std::optional<Image> decodeSegmentedPicture(std::string_view bytes, std::string* error);

// PNG bytes of an image (libpng).
std::string encodePng(const Image& image);

// A picture file's bytes as PNG, whichever form it has; nullopt with the reason otherwise.
std::optional<std::string> pictureToPng(std::string_view bytes, std::string* reason);

}  // namespace tarnbook::winhelp
