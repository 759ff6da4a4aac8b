#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "support/TempDir.h"
#include "winhelp/CntFile.h"
#include "winhelp/HpjFile.h"

namespace tarnbook::testing {
namespace {

using namespace tarnbook::winhelp;
const std::string kSample = std::string(WINHELP_DATA_DIR) + "/sample";

std::string sj(const char* utf8) {
    return platform::utf8ToCp932(utf8);
}

TEST(HpjFile, ReadsEverySectionOfTheSampleProject) {
    const HpjProject p = readHpj(kSample + "/sample.hpj");
    EXPECT_EQ(p.title, sj("サンプル ヘルプ"));
    EXPECT_EQ(p.contentsFile, "sample.cnt");
    EXPECT_EQ(p.contentsTopic, "IDH_WELCOME");
    EXPECT_EQ(p.lcid, 0x411);
    ASSERT_EQ(p.topicFiles.size(), 2u);
    EXPECT_EQ(p.topicFiles[0], kSample + "/topics.rtf");
    EXPECT_EQ(p.topicFiles[1], kSample + "/more.rtf");

    // The included header's numbers come first, in its order, then the section's own line.
    ASSERT_EQ(p.map.size(), 4u);
    const std::vector<std::pair<std::string, long long>> expected = {
        {"IDH_WELCOME", 10}, {"IDH_INSTALL", 20}, {"IDH_GLOSSARY_TERM", 40}, {"IDH_DETAILS", 30}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(p.map[i].id, expected[i].first);
        EXPECT_EQ(p.map[i].number, expected[i].second);
    }
    ASSERT_EQ(p.aliases.size(), 1u);
    EXPECT_EQ(p.aliases[0].alias, "IDH_OLD_WELCOME");
    EXPECT_EQ(p.aliases[0].target, "IDH_WELCOME");
    ASSERT_EQ(p.windows.size(), 1u);
    EXPECT_EQ(p.windows[0].name, "main");
    EXPECT_EQ(p.windows[0].caption, sj("サンプル ヘルプ"));
    ASSERT_EQ(p.bitmaps.size(), 1u);  // found through BMROOT
    EXPECT_EQ(p.bitmaps[0], kSample + "/art/logo.bmp");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
}

TEST(HpjFile, MapLinesInEveryFormAndTheOnesItCannotRead) {
    const HpjProject p = parseHpj(
        "[MAP]\n#define A 1\nB=0x10\nC 7 ; comment\nD\t0X1fL\nE twelve\n[FILES]\nmissing.rtf\n",
        "/nonexistent-folder");
    ASSERT_EQ(p.map.size(), 4u);
    EXPECT_EQ(p.map[0].number, 1);
    EXPECT_EQ(p.map[1].number, 16);
    EXPECT_EQ(p.map[2].number, 7);
    EXPECT_EQ(p.map[3].number, 31);
    ASSERT_EQ(p.warnings.size(), 2u);
    EXPECT_NE(p.warnings[0].find("E twelve"), std::string::npos);
    EXPECT_NE(p.warnings[1].find("missing.rtf"), std::string::npos);
}

TEST(HpjFile, AnIncludeLoopEndsWithAWarning) {
    TempDir d;
    writeBytes(d.file("loop.h"), "#include \"loop.h\"\n#define X 1\n");
    const HpjProject p = parseHpj("[MAP]\n#include <loop.h>\n", d.path());
    EXPECT_FALSE(p.map.empty());
    ASSERT_FALSE(p.warnings.empty());
    EXPECT_NE(p.warnings.back().find("nested too deeply"), std::string::npos);
}

TEST(HpjFile, TopicFilesOfAnotherMachineAreFoundByName) {
    TempDir d;
    writeBytes(d.file("a.rtf"), "{\\rtf1}");
    writeBytes(d.file("sub/b.rtf"), "{\\rtf1}");
    const HpjProject p = parseHpj("[FILES]\nC:\\help\\A.RTF\nsub\\b.rtf\n", d.path());
    ASSERT_EQ(p.topicFiles.size(), 2u);
    EXPECT_TRUE(p.warnings.empty());
}

TEST(CntFile, BooksTopicsWindowsOtherFilesMacrosAndIncludes) {
    TempDir d;
    writeBytes(d.file("part.cnt"), "1 Inner book\n2 Inner topic=IDH_INNER\n");
    const CntFile c = parseCnt(
        ":Base help.hlp>main\n:Title My help\n1 Book\n2 Topic=IDH_A\n2 Win=IDH_B>second\n"
        "2 Other=IDH_C@other.hlp\n2 Macro=!CloseWindow(main)\n2 A \\= B=IDH_D\n:Include part.cnt\n"
        "; comment\nnot a line\n1 Last=IDH_E\n",
        d.path());
    EXPECT_EQ(c.base, "help.hlp>main");
    EXPECT_EQ(c.title, "My help");
    ASSERT_EQ(c.entries.size(), 9u);
    EXPECT_TRUE(c.entries[0].book);
    EXPECT_EQ(c.entries[1].context, "IDH_A");
    EXPECT_EQ(c.entries[2].window, "second");
    EXPECT_EQ(c.entries[3].helpFile, "other.hlp");
    EXPECT_TRUE(c.entries[4].macro);
    EXPECT_EQ(c.entries[5].title, "A = B");
    // The included entries hang below the book that precedes the include.
    EXPECT_EQ(c.entries[6].level, 2);
    EXPECT_EQ(c.entries[7].level, 3);
    EXPECT_EQ(c.entries[7].context, "IDH_INNER");
    EXPECT_EQ(c.entries[8].level, 1);
    ASSERT_EQ(c.warnings.size(), 1u);
    EXPECT_NE(c.warnings[0].find("not a line"), std::string::npos);
}

}  // namespace
}  // namespace tarnbook::testing
