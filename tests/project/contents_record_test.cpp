#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"
#include "project/ContentsRecord.h"
#include "project/LongText.h"

using namespace tarnbook;
using namespace tarnbook::project;

namespace {

std::u16string ascii(std::size_t n, char c = 'a') {
    return std::u16string(n, static_cast<char16_t>(c));
}

}  // namespace

TEST(LongText, SplitsAtByte254WithoutBreakingDoubleByteCharacters) {
    auto [a, b] = splitLongText(ascii(254));
    EXPECT_EQ(a.size(), 254u);
    EXPECT_TRUE(b.empty());

    std::tie(a, b) = splitLongText(ascii(255));
    EXPECT_EQ(a.size(), 254u);
    EXPECT_EQ(b, "a");

    // "あ" (0x82 0xA0) starting at byte 253 stays whole in the first half.
    std::u16string t = ascii(253) + u"あ" + u"z";
    std::tie(a, b) = splitLongText(t);
    EXPECT_EQ(a.size(), 255u);
    EXPECT_EQ(a.substr(253), "\x82\xa0");
    EXPECT_EQ(b, "z");

    // Starting at byte 254 it goes to the second half.
    t = ascii(254) + u"あ";
    std::tie(a, b) = splitLongText(t);
    EXPECT_EQ(a.size(), 254u);
    EXPECT_EQ(b, "\x82\xa0");
    EXPECT_EQ(joinLongText(a, b), t);
}

TEST(ContentsRecord, CurrentLayoutRoundTripsAndCutsFieldsToTheirWidths) {
    TData d;
    d.ItemType = TData::kHeading;
    d.Title = std::string(300, 'T');
    d.HTML = "sub\\page.htm";
    d.ImageIndex = 4;
    d.KeyWord = ascii(400, 'k');
    d.SubKeyWord = u"サブ";
    d.ContextID = std::string(60, 'C');
    d.Anchor = std::string(120, 'A');
    d.Reserved = "r";
    std::string rec(kCurrentRecordSize, '\x55');
    encodeRecord(d, 3, rec.data());
    TData back = decodeRecord(rec, RecordLayout::Current);
    EXPECT_EQ(back.ItemType, 1);
    EXPECT_EQ(back.Title, std::string(250, 'T'));
    EXPECT_EQ(back.HTML, d.HTML);
    EXPECT_EQ(back.ImageIndex, 4);
    EXPECT_EQ(back.Level, 3);
    EXPECT_EQ(back.KeyWord, d.KeyWord);
    EXPECT_EQ(back.SubKeyWord, d.SubKeyWord);
    EXPECT_EQ(back.ContextID, std::string(50, 'C'));
    EXPECT_EQ(back.Anchor, std::string(100, 'A'));
    EXPECT_EQ(back.Reserved, "r");
    // Padding and text tails are zero-filled.
    EXPECT_EQ(rec[1], 0);
    EXPECT_EQ(rec[510], 0);
    EXPECT_EQ(rec[1847], 0);
    EXPECT_EQ(rec[259 + 1 + d.HTML.size()], 0);
}

TEST(ContentsRecord, LengthByteBeyondItsFieldIsReadAsTheWidth) {
    std::string rec(kCurrentRecordSize, 'x');
    rec[1544] = static_cast<char>(200);  // ContextID is text[50]
    rec[8] = static_cast<char>(255);     // Title is text[250]
    TData d = decodeRecord(rec, RecordLayout::Current);
    EXPECT_EQ(d.ContextID.size(), 50u);
    EXPECT_EQ(d.Title.size(), 250u);
}

TEST(ContentsRecord, PreviousLayoutReadsWholeKeywords) {
    std::string rec(kPreviousRecordSize, '\0');
    rec[0] = 0;
    rec[8] = 3;
    rec.replace(9, 3, "abc");
    rec[512] = 10;
    rec[520] = 2;
    rec.replace(521, 2, "\x82\xa0");
    rec[621] = 1;
    rec[622] = 's';
    rec[722] = 2;
    rec.replace(723, 2, "ID");
    rec[773] = 1;
    rec[774] = 'n';
    TData d = decodeRecord(rec, RecordLayout::Previous);
    EXPECT_EQ(d.Title, "abc");
    EXPECT_EQ(d.ImageIndex, 10);
    EXPECT_EQ(d.KeyWord, u"あ");
    EXPECT_EQ(d.SubKeyWord, u"s");
    EXPECT_EQ(d.ContextID, "ID");
    EXPECT_EQ(d.Anchor, "n");
}

TEST(ContentsRecord, SelectedImageOfHeadingsContentsAndDamagedRecords) {
    TData heading;
    heading.ItemType = TData::kHeading;
    heading.ImageIndex = 4;
    EXPECT_EQ(selectedImageFor(heading), 5);
    TData content;
    content.ImageIndex = 10;
    EXPECT_EQ(selectedImageFor(content), 10);
    heading.ImageIndex = INT32_MAX;  // from a damaged file: no overflow
    EXPECT_EQ(selectedImageFor(heading), INT32_MAX);
}
