// The container read back by the packaged readers: every file byte for byte, through the
// directory walk and through the index lookups, for directories of one chunk up to several
// index levels, and for data that spans many reset intervals.
#include <gtest/gtest.h>

#include <random>

#include "ChmReaders.h"
#include "chm/ChmContainer.h"
#include "support/TempDir.h"

namespace tarnbook::chm {
namespace {

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(rng());
    return s;
}

// Text with the repetitions of real pages: tags, words, numbers.
std::string pageText(std::size_t n, unsigned seed) {
    static const char* words[] = {
        "<p>",     "</p>", "help ", "topic ", "\x83\x5C\x83\x74\x83\x67", "<a href=\"page",
        ".htm\">", "</a>", "\r\n",  "index "};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) {
        s += words[rng() % 10];
        if (rng() % 7 == 0) s += std::to_string(rng() % 1000);
    }
    s.resize(n);
    return s;
}

struct Case {
    const char* label;
    std::vector<ChmFile> files;
};

std::vector<Case> cases() {
    std::vector<Case> out;
    out.push_back({"few files",
                   {{"/index.htm", pageText(900, 1)},
                    {"/#SYSTEM", "plain", false},
                    {"/#ITBITS", "", false},
                    {"/images/a.gif", randomBytes(300, 2)},
                    {"/empty.htm", ""}}});
    // Pages, random pictures and long runs across many reset intervals and frame ends.
    out.push_back({"many intervals",
                   {{"/a.htm", pageText(200000, 3)},
                    {"/b.bin", randomBytes(150000, 4)},
                    {"/c.txt", std::string(100003, 'x')},
                    {"/d/e/f.htm", pageText(70001, 5)}}});
    Case many{"several listing chunks", {}};
    for (int i = 0; i < 1200; ++i)
        many.files.push_back(
            {"/Dir" + std::to_string(i % 7) + "/Page_" + std::to_string(i) + ".htm",
             pageText(40 + i % 50, 100 + i)});
    out.push_back(std::move(many));
    // Long names: enough listing chunks for an index of two levels. Plain (section 0) files
    // keep the readers fast on this many entries.
    Case deep{"two index levels", {}};
    for (int i = 0; i < 700; ++i)
        deep.files.push_back(
            {"/" + std::string(200, 'n') + std::to_string(i), std::to_string(i), false});
    out.push_back(std::move(deep));
    return out;
}

TEST(ChmContainer, ReadersGetEveryFileBack) {
    testing::TempDir dir;
    for (const auto& c : cases()) {
        SCOPED_TRACE(c.label);
        const std::string path = dir.file("out.chm");
        const std::string bytes = buildChmContainer(c.files, {0x411, 12345, {}});
        testing::writeBytes(path, bytes);
        if (std::string(c.label) == "two index levels") {
            EXPECT_EQ(bytes[0x78 + 0x18], 3);  // listing chunks and two levels of index chunks
        }
        for (const auto& read : {chmtest::readWithChmlib(path), chmtest::readWithMspack(path)}) {
            ASSERT_EQ(read.error, "");
            for (const auto& f : c.files) {
                auto it = read.entries.find(f.name);
                ASSERT_NE(it, read.entries.end()) << f.name;
                ASSERT_EQ(it->second, f.data) << f.name;
            }
        }
    }
}

TEST(ChmContainer, DirectoryFollowsTheReadersOrder) {
    const std::vector<std::string> sorted = {"/",        "/#IDXHDR",   "/$FIftiMain",
                                             "/A.htm",   "/a_b.htm",   "/B.htm",
                                             "/images/", "/Index.hhk", "::DataSpace/NameList"};
    for (std::size_t i = 0; i + 1 < sorted.size(); ++i) {
        EXPECT_TRUE(chmNameLess(sorted[i], sorted[i + 1])) << sorted[i];
        EXPECT_FALSE(chmNameLess(sorted[i + 1], sorted[i])) << sorted[i];
    }
}

TEST(ChmContainer, RefusesNamesReadersCannotTellApart) {
    const std::vector<std::vector<ChmFile>> bad = {
        {{"/a.htm", "1"}, {"/A.HTM", "2"}}, {{"a.htm", "1"}}, {{"/dir/", ""}}, {{"/", ""}}};
    for (const auto& files : bad) EXPECT_THROW(buildChmContainer(files), std::invalid_argument);
}

}  // namespace
}  // namespace tarnbook::chm
