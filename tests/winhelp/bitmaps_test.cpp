#include <gtest/gtest.h>
#include <png.h>

#include "platform/Files.h"
#include "winhelp/Bitmaps.h"

namespace tarnbook::testing {
namespace {

using namespace tarnbook::winhelp;

// Decodes PNG bytes with libpng's reader, to check what the encoder wrote.
std::optional<Image> readPng(const std::string& bytes) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, bytes.data(), bytes.size())) return std::nullopt;
    img.format = PNG_FORMAT_RGBA;
    Image out;
    out.width = static_cast<int>(img.width);
    out.height = static_cast<int>(img.height);
    out.rgba.resize(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, out.rgba.data(), 0, nullptr)) return std::nullopt;
    return out;
}

std::uint32_t pixel(const Image& i, int x, int y) {
    const auto* p = &i.rgba[(static_cast<std::size_t>(y) * i.width + x) * 4];
    return (p[0] << 16) | (p[1] << 8) | p[2];
}

void le16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void le32(std::string& s, unsigned v) {
    le16(s, v & 0xFFFF);
    le16(s, v >> 16);
}

TEST(Bitmaps, TheSampleBitmapBecomesAPngWithItsPixels) {
    const std::string bmp =
        platform::readFile(std::string(WINHELP_DATA_DIR) + "/sample/art/logo.bmp");
    std::string reason;
    const auto png = pictureToPng(bmp, &reason);
    ASSERT_TRUE(png) << reason;
    const auto img = readPng(*png);
    ASSERT_TRUE(img);
    ASSERT_EQ(img->width, 3);
    ASSERT_EQ(img->height, 2);
    // Bottom row (stored first) red-blue-red; top row blue-red-blue.
    EXPECT_EQ(pixel(*img, 0, 1), 0xFF0000u);
    EXPECT_EQ(pixel(*img, 1, 1), 0x0000FFu);
    EXPECT_EQ(pixel(*img, 0, 0), 0x0000FFu);
    EXPECT_EQ(pixel(*img, 2, 0), 0x0000FFu);
}

TEST(Bitmaps, DibLayouts) {
    DibInfo rle;
    rle.width = 4;
    rle.height = 1;
    rle.bitCount = 8;
    rle.compression = 1;
    rle.palette = {0x112233, 0x445566};
    // Three pixels of 1, one of 0, end of bitmap.
    const std::string data("\x03\x01\x01\x00\x00\x01", 6);
    std::string error;
    auto img = decodeDib(rle, data, &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(pixel(*img, 0, 0), 0x445566u);
    EXPECT_EQ(pixel(*img, 3, 0), 0x112233u);

    DibInfo mono;
    mono.width = 9;
    mono.height = -1;  // top row first
    mono.bitCount = 1;
    mono.palette = {0x000000, 0xFFFFFF};
    img = decodeDib(mono, std::string("\x80\x80\x00\x00", 4), &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(pixel(*img, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixel(*img, 1, 0), 0u);
    EXPECT_EQ(pixel(*img, 8, 0), 0xFFFFFFu);

    DibInfo bad = mono;
    bad.width = 100000;
    bad.height = 100000;
    EXPECT_FALSE(decodeDib(bad, "", &error));
    bad.width = 2;
    bad.height = 2;
    EXPECT_FALSE(decodeDib(bad, "\x01", &error));  // pixel data ends early
}

// A segmented picture holding one 2x1 24-bit DIB, packed as given.
std::string segmented(int packing, const std::string& packed) {
    std::string s = "lp";
    le16(s, 1);
    le32(s, 8);  // the picture starts after this header
    s += '\x06';
    s += static_cast<char>(packing);
    auto cword = [&](unsigned v) { le16(s, v * 2); };
    cword(96);
    cword(96);
    s += static_cast<char>(1 * 2);   // planes
    s += static_cast<char>(24 * 2);  // bit count
    cword(2);                        // width
    cword(1);                        // height
    cword(0);                        // colours used
    cword(0);                        // colours important
    cword(static_cast<unsigned>(packed.size()));
    cword(0);  // hot spots
    const std::size_t offsetField = s.size();
    cword(0);
    cword(0);
    const unsigned dataOffset = static_cast<unsigned>(s.size() - 8);
    s[offsetField] = static_cast<char>((dataOffset * 2) & 0xFF);
    s[offsetField + 1] = static_cast<char>((dataOffset * 2) >> 8);
    return s + packed;
}

TEST(Bitmaps, SegmentedPicturesUnpackedRunLengthAndLz77) {
    // Blue then green, each stored BGR, row padded to 8 bytes.
    const std::string raw("\xFF\x00\x00\x00\xFF\x00\x00\x00", 8);
    const std::string runLength = std::string("\x86", 1) + raw.substr(0, 6) + "\x02" + '\0';
    // LZ77: six literal bytes, then a back reference one byte back, three long.
    const std::string lz77 = std::string("\x40", 1) + raw.substr(0, 6) + std::string(2, '\0');
    for (const auto& [packing, data] :
         std::vector<std::pair<int, std::string>>{{0, raw}, {1, runLength}, {2, lz77}}) {
        std::string reason;
        const auto png = pictureToPng(segmented(packing, data), &reason);
        ASSERT_TRUE(png) << packing << ": " << reason;
        const auto img = readPng(*png);
        ASSERT_TRUE(img);
        EXPECT_EQ(pixel(*img, 0, 0), 0x0000FFu) << packing;
        EXPECT_EQ(pixel(*img, 1, 0), 0x00FF00u) << packing;
    }
    std::string reason;
    EXPECT_FALSE(pictureToPng("\x01\x00\x09\x00", &reason));  // a metafile
    EXPECT_NE(reason.find("not known"), std::string::npos);
}

}  // namespace
}  // namespace tarnbook::testing
