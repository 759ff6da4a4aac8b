#include "winhelp/Bitmaps.h"

#include <png.h>

#include <cstring>

namespace tarnbook::winhelp {

namespace {

// Pictures larger than this are refused rather than allocated (a damaged header).
constexpr long long kMaxPixels = 4LL * 1024 * 1024;

std::uint32_t u16le(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t u32le(std::string_view b, std::size_t at) {
    return u16le(b, at) | (u16le(b, at + 2) << 16);
}

bool fail(std::string* error, const char* text) {
    if (error) *error = text;
    return false;
}

int shiftOf(std::uint32_t mask) {
    int s = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++s;
    }
    return s;
}

std::uint8_t scaled(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    const std::uint32_t max = mask >> shiftOf(mask);
    return static_cast<std::uint8_t>(((value & mask) >> shiftOf(mask)) * 255 / max);
}

// Expands RLE8/RLE4 data to one palette index per byte, bottom row first.
bool expandRle(std::string_view in, int width, int height, bool four,
               std::vector<std::uint8_t>* out, std::string* error) {
    out->assign(static_cast<std::size_t>(width) * height, 0);
    long long x = 0, y = 0;
    std::size_t i = 0;
    auto put = [&](std::uint8_t v) {
        if (x < width && y < height) (*out)[static_cast<std::size_t>(y * width + x)] = v;
        ++x;
    };
    while (i + 1 < in.size()) {
        const std::uint8_t n = static_cast<std::uint8_t>(in[i]);
        const std::uint8_t v = static_cast<std::uint8_t>(in[i + 1]);
        i += 2;
        if (n > 0) {
            for (int k = 0; k < n; ++k) put(four ? ((k & 1) ? (v & 0x0F) : (v >> 4)) : v);
            continue;
        }
        if (v == 0) {  // end of line
            x = 0;
            ++y;
        } else if (v == 1) {  // end of bitmap
            return true;
        } else if (v == 2) {  // delta
            if (i + 1 >= in.size()) break;
            x += static_cast<std::uint8_t>(in[i]);
            y += static_cast<std::uint8_t>(in[i + 1]);
            i += 2;
        } else {  // a literal run of v pixels, padded to a word
            const std::size_t bytes = four ? (v + 1) / 2 : v;
            if (i + bytes > in.size()) return fail(error, "the compressed bitmap ends early");
            for (int k = 0; k < v; ++k) {
                const std::uint8_t b = static_cast<std::uint8_t>(in[i + (four ? k / 2 : k)]);
                put(four ? ((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            i += (bytes + 1) & ~std::size_t{1};
        }
        if (y > height) break;
    }
    return true;
}

}  // namespace

std::optional<Image> decodeDib(const DibInfo& info, std::string_view pixels, std::string* error) {
    const int width = info.width;
    const bool topDown = info.height < 0;
    // The height comes from the file: INT_MIN has no positive counterpart in an int.
    const long long signedHeight = info.height;
    const long long fullHeight = topDown ? -signedHeight : signedHeight;
    if (width <= 0 || fullHeight <= 0 || static_cast<long long>(width) * fullHeight > kMaxPixels) {
        fail(error, "the bitmap's size is not usable");
        return std::nullopt;
    }
    const int height = static_cast<int>(fullHeight);
    const int bpp = info.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        fail(error, "the bitmap has an unknown number of bits per pixel");
        return std::nullopt;
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    const bool packed = info.compression == 1 || info.compression == 2;
    if (!packed && pixels.size() < stride * static_cast<std::size_t>(height)) {
        fail(error, "the bitmap's pixel data ends early");
        return std::nullopt;
    }
    Image img;
    img.width = width;
    img.height = height;
    img.rgba.assign(static_cast<std::size_t>(width) * height * 4, 255);
    auto setPixel = [&](int x, int row, std::uint32_t rgb) {
        const int y = topDown ? row : height - 1 - row;
        std::uint8_t* p = &img.rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        p[0] = static_cast<std::uint8_t>(rgb >> 16);
        p[1] = static_cast<std::uint8_t>(rgb >> 8);
        p[2] = static_cast<std::uint8_t>(rgb);
    };
    auto paletteColor = [&](std::uint32_t index) {
        return index < info.palette.size() ? info.palette[index] : 0u;
    };

    if (info.compression == 1 || info.compression == 2) {
        if ((info.compression == 1 && bpp != 8) || (info.compression == 2 && bpp != 4)) {
            fail(error, "the bitmap's compression does not fit its depth");
            return std::nullopt;
        }
        std::vector<std::uint8_t> indexes;
        if (!expandRle(pixels, width, height, info.compression == 2, &indexes, error))
            return std::nullopt;
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x)
                setPixel(x, row, paletteColor(indexes[static_cast<std::size_t>(row) * width + x]));
        return img;
    }
    if (info.compression != 0 && info.compression != 3) {
        fail(error, "the bitmap uses a compression that is not supported");
        return std::nullopt;
    }
    std::uint32_t masks[3] = {info.masks[0], info.masks[1], info.masks[2]};
    if (info.compression != 3 || (masks[0] | masks[1] | masks[2]) == 0) {
        if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000;
            masks[1] = 0x00FF00;
            masks[2] = 0x0000FF;
        }
    }
    for (int row = 0; row < height; ++row) {
        const std::string_view line = pixels.substr(stride * static_cast<std::size_t>(row), stride);
        for (int x = 0; x < width; ++x) {
            std::uint32_t rgb = 0;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    const std::size_t bit = static_cast<std::size_t>(x) * bpp;
                    const std::uint8_t byte = static_cast<std::uint8_t>(line[bit / 8]);
                    const int shift = 8 - bpp - static_cast<int>(bit % 8);
                    rgb = paletteColor((byte >> shift) & ((1u << bpp) - 1));
                    break;
                }
                case 16: {
                    const std::uint32_t v = u16le(line, static_cast<std::size_t>(x) * 2);
                    rgb = (scaled(v, masks[0]) << 16) | (scaled(v, masks[1]) << 8) |
                          scaled(v, masks[2]);
                    break;
                }
                case 24: {
                    const std::size_t at = static_cast<std::size_t>(x) * 3;
                    rgb = (static_cast<std::uint8_t>(line[at + 2]) << 16) |
                          (static_cast<std::uint8_t>(line[at + 1]) << 8) |
                          static_cast<std::uint8_t>(line[at]);
                    break;
                }
                case 32: {
                    const std::uint32_t v = u32le(line, static_cast<std::size_t>(x) * 4);
                    rgb = (scaled(v, masks[0]) << 16) | (scaled(v, masks[1]) << 8) |
                          scaled(v, masks[2]);
                    break;
                }
            }
            setPixel(x, row, rgb);
        }
    }
    return img;
}

std::optional<Image> decodeBmp(std::string_view b, std::string* error) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') {
        fail(error, "not a bitmap file");
        return std::nullopt;
    }
    const std::uint32_t dataOffset = u32le(b, 10);
    const std::uint32_t headerSize = u32le(b, 14);
    DibInfo info;
    std::size_t paletteEntry = 4;
    if (headerSize == 12) {
        info.width = static_cast<std::int16_t>(u16le(b, 18));
        info.height = static_cast<std::int16_t>(u16le(b, 20));
        info.bitCount = static_cast<int>(u16le(b, 24));
        paletteEntry = 3;
    } else if (headerSize >= 40 && b.size() >= 14 + 40) {
        info.width = static_cast<std::int32_t>(u32le(b, 18));
        info.height = static_cast<std::int32_t>(u32le(b, 22));
        info.bitCount = static_cast<int>(u16le(b, 28));
        info.compression = static_cast<int>(u32le(b, 30));
        if (info.compression == 3 && b.size() >= 14 + 52) {
            info.masks[0] = u32le(b, 54);
            info.masks[1] = u32le(b, 58);
            info.masks[2] = u32le(b, 62);
        }
    } else {
        fail(error, "the bitmap's header is not supported");
        return std::nullopt;
    }
    std::size_t colors = 0;
    if (info.bitCount <= 8) {
        colors = std::size_t{1} << info.bitCount;
        if (headerSize >= 40) {
            const std::uint32_t used = u32le(b, 46);
            if (used != 0 && used < colors) colors = used;
        }
    }
    // Bit-field masks of the 40-byte header sit between it and the palette.
    std::size_t at = 14 + headerSize + (headerSize == 40 && info.compression == 3 ? 12 : 0);
    for (std::size_t k = 0; k < colors && at + paletteEntry <= b.size(); ++k, at += paletteEntry)
        info.palette.push_back((static_cast<std::uint8_t>(b[at + 2]) << 16) |
                               (static_cast<std::uint8_t>(b[at + 1]) << 8) |
                               static_cast<std::uint8_t>(b[at]));
    if (dataOffset >= b.size()) {
        fail(error, "the bitmap has no pixel data");
        return std::nullopt;
    }
    return decodeDib(info, b.substr(dataOffset), error);
}

namespace {

// Reads the variable-length numbers of segmented pictures: the low bit of the first byte or
// word tells whether the value takes one or two units.
class ShgCursor {
  public:
    ShgCursor(std::string_view b, std::size_t at) : b_(b), at_(at) {}
    bool ok() const { return ok_; }
    std::size_t at() const { return at_; }
    std::uint32_t compressedShort() { return compressed(1); }
    std::uint32_t compressedLong() { return compressed(2); }
    std::uint8_t byte() {
        if (!need(1)) return 0;
        return static_cast<std::uint8_t>(b_[at_++]);
    }

  private:
    // A value of one `unit` bytes when its lowest bit is clear, else of two units; halved.
    std::uint32_t compressed(std::size_t unit) {
        if (!need(unit)) return 0;
        const std::uint32_t first = unit == 1 ? static_cast<std::uint8_t>(b_[at_]) : u16le(b_, at_);
        const std::size_t size = (first & 1) == 0 ? unit : 2 * unit;
        if (!need(size)) return 0;
        std::uint32_t v = first;
        if (size == 2) v = u16le(b_, at_);
        if (size == 4) v = u32le(b_, at_);
        at_ += size;
        return v / 2;
    }
    bool need(std::size_t n) {
        if (at_ + n > b_.size()) ok_ = false;
        return ok_;
    }
    std::string_view b_;
    std::size_t at_;
    bool ok_ = true;
};

std::string unpackRunLength(std::string_view in) {
    std::string out;
    std::size_t i = 0;
    while (i < in.size()) {
        const std::uint8_t n = static_cast<std::uint8_t>(in[i++]);
        if (n & 0x80) {
            const std::size_t count = std::min<std::size_t>(n & 0x7F, in.size() - i);
            out.append(in.substr(i, count));
            i += count;
        } else if (i < in.size()) {
            out.append(n, in[i++]);
        }
    }
    return out;
}

std::string unpackLz77(std::string_view in, std::size_t limit) {
    std::string out;
    std::size_t i = 0;
    while (i < in.size() && out.size() < limit) {
        const std::uint8_t flags = static_cast<std::uint8_t>(in[i++]);
        for (int bit = 0; bit < 8 && i < in.size() && out.size() < limit; ++bit) {
            if ((flags & (1 << bit)) == 0) {
                out.push_back(in[i++]);
                continue;
            }
            if (i + 1 >= in.size()) return out;
            const std::uint32_t code = u16le(in, i);
            i += 2;
            const std::size_t length = (code >> 12) + 3;
            const std::size_t distance = (code & 0x0FFF) + 1;
            for (std::size_t k = 0; k < length; ++k)
                out.push_back(distance <= out.size() ? out[out.size() - distance] : ' ');
        }
    }
    return out;
}

}  // namespace

std::optional<Image> decodeSegmentedPicture(std::string_view b, std::string* error) {
    if (b.size() < 8 || !((b[0] == 'l' && b[1] == 'p') || (b[0] == 'l' && b[1] == 'P'))) {
        fail(error, "not a segmented picture");
        return std::nullopt;
    }
    const std::uint32_t count = u16le(b, 2);
    for (std::uint32_t n = 0; n < count && 4 + 4 * (n + 1) <= b.size(); ++n) {
        const std::size_t start = u32le(b, 4 + 4 * n);
        if (start + 2 >= b.size()) continue;
        ShgCursor c(b, start);
        const std::uint8_t type = c.byte();
        const std::uint8_t packing = c.byte();
        if (type != 5 && type != 6) continue;  // 8: a metafile
        c.compressedLong();                    // resolution x
        c.compressedLong();                    // resolution y
        c.compressedShort();                   // planes
        DibInfo info;
        info.bitCount = static_cast<int>(c.compressedShort());
        info.width = static_cast<int>(c.compressedLong());
        info.height = static_cast<int>(c.compressedLong());
        std::uint32_t colorsUsed = c.compressedLong();
        c.compressedLong();  // colours important
        const std::uint32_t dataSize = c.compressedLong();
        c.compressedLong();  // hot spot size
        const std::uint32_t dataOffset = c.compressedLong();
        c.compressedLong();  // hot spot offset
        if (!c.ok()) break;
        if (type == 6 || info.bitCount == 1) {
            if (info.bitCount <= 8 && colorsUsed == 0) colorsUsed = 1u << info.bitCount;
            std::size_t at = c.at();
            if (type == 5) {
                info.palette = {0x000000, 0xFFFFFF};  // a device bitmap in two colours
            } else {
                for (std::uint32_t k = 0; k < colorsUsed && k < 256 && at + 4 <= b.size();
                     ++k, at += 4)
                    info.palette.push_back(u32le(b, at) & 0xFFFFFF);
            }
        }
        if (start + dataOffset > b.size()) break;
        std::string_view packed = b.substr(start + dataOffset, dataSize);
        const std::size_t stride = ((static_cast<std::size_t>(std::max(info.width, 0)) *
                                         static_cast<std::size_t>(std::max(info.bitCount, 0)) +
                                     31) /
                                    32) *
                                   4;
        const std::size_t expected = stride * static_cast<std::size_t>(std::max(info.height, 0));
        std::string data;
        switch (packing) {
            case 0:
                data.assign(packed);
                break;
            case 1:
                data = unpackRunLength(packed);
                break;
            case 2:
                data = unpackLz77(packed, expected + 16);
                break;
            case 3:
                data = unpackRunLength(unpackLz77(packed, 16 * expected + 1024));
                break;
            default:
                fail(error, "the picture uses an unknown packing");
                return std::nullopt;
        }
        if (type == 5) {
            // Device bitmaps are stored top row first with rows padded to words.
            const std::size_t wordStride =
                ((static_cast<std::size_t>(std::max(info.width, 0)) * info.bitCount + 15) / 16) * 2;
            std::string rows;
            for (int y = info.height - 1; y >= 0; --y) {
                const std::size_t from = wordStride * static_cast<std::size_t>(y);
                std::string row = from < data.size() ? data.substr(from, wordStride) : "";
                row.resize(stride, '\0');
                rows += row;
            }
            data = std::move(rows);
        }
        return decodeDib(info, data, error);
    }
    fail(error, "the picture holds no bitmap (a metafile cannot be converted)");
    return std::nullopt;
}

std::string encodePng(const Image& image) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            static_cast<std::string*>(png_get_io_ptr(p))
                ->append(reinterpret_cast<const char*>(data), length);
        },
        [](png_structp) {});
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(
            png, const_cast<png_bytep>(&image.rgba[static_cast<std::size_t>(y) * image.width * 4]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::optional<std::string> pictureToPng(std::string_view bytes, std::string* reason) {
    std::optional<Image> image;
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        image = decodeBmp(bytes, reason);
    else if (bytes.size() >= 2 && bytes[0] == 'l' && (bytes[1] == 'p' || bytes[1] == 'P'))
        image = decodeSegmentedPicture(bytes, reason);
    else if (reason)
        *reason = "the picture's format is not known (only bitmaps can be converted)";
    if (!image) return std::nullopt;
    std::string png = encodePng(*image);
    if (png.empty()) {
        if (reason) *reason = "the PNG encoder failed";
        return std::nullopt;
    }
    return png;
}

}  // namespace tarnbook::winhelp
