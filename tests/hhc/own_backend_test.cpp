// The built-in writer against the packaged readers and the Workshop compiler's own files:
// every corpus project reads back byte for byte through chmlib, libmspack and chmls, and the
// fields chmls prints equal the Workshop compiler's apart from the listed exceptions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "../chm/ChmReaders.h"
#include "CorpusProject.h"
#include "chm/FullTextIndex.h"
#include "hhc/HhcDriver.h"
#include "hhc/OwnBackend.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"

namespace tarnbook::hhc {
namespace {

using testing::copyCorpusProject;
using testing::corpusFolder;
using testing::findHhp;
using ::testing::HasSubstr;
using testing::readBytes;
using testing::TempDir;
namespace fs = std::filesystem;

std::string chmls(const std::vector<std::string>& args, const std::string& cwd) {
    std::string out;
    const int rc = platform::runAndCapture("chmls", args, cwd, &out);
    EXPECT_EQ(rc, 0) << out;
    return out;
}

void requireTools() {
    ASSERT_TRUE(fs::exists(corpusFolder() + "/hhp"))
        << "the corpus is missing at " << corpusFolder() << " (shared/corpus beside the checkout)";
    ASSERT_FALSE(platform::findExecutable("chmls").empty())
        << "chmls (fp-utils) is needed: tools/install-deps.sh";
}

TEST(OwnBackend, EveryCorpusProjectReadsBackByteForByteInEveryReader) {
    requireTools();
    for (const auto& e : fs::directory_iterator(corpusFolder() + "/hhp")) {
        const std::string name = e.path().filename().string();
        SCOPED_TRACE(name);
        TempDir t;
        const std::string dir = copyCorpusProject(t, name);
        const DriverResult r = compileProject(findHhp(dir));
        ASSERT_TRUE(r.produced) << r.failure << "\n" << r.logText;
        const std::string chm = platform::nativePath(r.chmPath).str();
        ASSERT_FALSE(r.storedFiles.empty());

        const auto chmlib = chmtest::readWithChmlib(chm);
        const auto mspack = chmtest::readWithMspack(chm);
        ASSERT_EQ(chmlib.error, "");
        ASSERT_EQ(mspack.error, "");
        // chmls cannot open every name the projects give (one is GBK), so it reads a copy.
        const std::string plain = t.path() + "/plain.chm";
        fs::copy_file(chm, plain);
        const std::string extracted = t.path() + "/x";
        chmls({"extractall", plain, extracted}, t.path());
        for (const auto& stored : r.storedFiles) {
            const std::string disk = readBytes(dir + "/" + stored);
            EXPECT_EQ(chmlib.entries.at("/" + stored), disk) << stored;
            EXPECT_EQ(mspack.entries.at("/" + stored), disk) << stored;
            EXPECT_EQ(readBytes(extracted + "/" + stored), disk) << stored;
        }
        // Both readers see the same entries with the same bytes, system files included.
        for (const auto& [entry, bytes] : mspack.entries) {
            ASSERT_TRUE(chmlib.entries.count(entry)) << entry;
            EXPECT_EQ(chmlib.entries.at(entry), bytes) << entry;
        }
    }
}

// chmls output without the lines that differ by design: times and the Workshop compiler's
// checksum.
std::string comparable(const std::string& text, const std::string& alsoDrop) {
    static const std::regex drop("(Timestamp|timestamp/checksum).*");
    const std::regex also(alsoDrop.empty() ? "$^" : alsoDrop);
    std::string out;
    for (const auto& line : platform::splitLines(text))
        if (!std::regex_search(line, drop) && !std::regex_search(line, also)) out += line + "\n";
    return out;
}

// The keywords chmls reads out of a binary index, each with the pages it leads to, sorted.
std::vector<std::string> binaryIndexEntries(const std::string& chm, const std::string& cwd) {
    const std::string out = cwd + "/extracted.hhk";
    chmls({"extractindex", chm, out}, cwd);
    const std::string text = readBytes(out);
    static const std::regex object("<OBJECT type=\"text/sitemap\">([\\s\\S]*?)</OBJECT>");
    static const std::regex param("name=\"(Name|Local)\" value=\"([^\"]*)\"");
    std::vector<std::string> entries;
    for (std::sregex_iterator o(text.begin(), text.end(), object), end; o != end; ++o) {
        const std::string body = (*o)[1];
        std::string entry;
        bool named = false;
        for (std::sregex_iterator p(body.begin(), body.end(), param); p != end; ++p) {
            // The first Name is the keyword; later ones are page titles.
            if ((*p)[1] == "Name" && named) continue;
            named = true;
            entry += std::string((*p)[2]) + "|";
        }
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

TEST(OwnBackend, SystemFilesMatchTheWorkshopCompilers) {
    requireTools();
    struct Case {
        const char* project;
        const char* original;
        std::vector<const char*> commands;
        std::vector<const char*> sameEntries;  // byte for byte
        std::string differs;                   // lines that differ for a reason given below
    };
    // AttacheCase's pages are UTF-8: the Workshop compiler read them as Shift_JIS and took
    // odd topic titles from them (and indexed their bytes for search as they stand), we
    // convert them first, so the titles differ; its window, index header, system fields and
    // topic places match, and so does its binary index. Its #SYSTEM names the index by the id of
    // "\"Index.hhk\"" (the project's value with its quotes), an id no URL has; ours is the
    // id of the stored index file.
    const std::vector<Case> cases = {
        {"hex-ci-Othello-Help",
         "Othello.chm",
         {"printsystem", "printwindows", "printidxhdr", "printtopics"},
         {"/#URLTBL", "/$WWKeywordLinks/BTree", "/$WWKeywordLinks/Data", "/$WWKeywordLinks/Map",
          "/$WWKeywordLinks/Property", "/$WWAssociativeLinks/Property"},
         ""},
        {"hibara-AttacheCase-help",
         "AttacheCase.chm",
         {"printsystem", "printwindows", "printidxhdr", "printtopics"},
         {"/#URLTBL", "/$WWKeywordLinks/BTree", "/$WWKeywordLinks/Data", "/$WWKeywordLinks/Map",
          "/$WWKeywordLinks/Property", "/$WWAssociativeLinks/Property"},
         "^\\(7\\)| Tag name "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.project);
        TempDir t;
        const DriverResult r = compileProject(findHhp(copyCorpusProject(t, c.project)));
        ASSERT_TRUE(r.produced) << r.failure;
        const std::string original = corpusFolder() + "/chm/" + c.original;
        for (const char* command : c.commands) {
            SCOPED_TRACE(command);
            const std::string theirs = comparable(chmls({command, original}, t.path()), c.differs);
            EXPECT_GT(theirs.size(), 200u);
            EXPECT_EQ(comparable(chmls({command, platform::nativePath(r.chmPath).str()}, t.path()),
                                 c.differs),
                      theirs);
        }
        const auto theirIndex = binaryIndexEntries(original, t.path());
        EXPECT_GT(theirIndex.size(), 1u);
        EXPECT_EQ(binaryIndexEntries(platform::nativePath(r.chmPath).str(), t.path()), theirIndex);
        const auto ours = chmtest::readWithChmlib(platform::nativePath(r.chmPath).str());
        const auto workshop = chmtest::readWithChmlib(original);
        for (const char* entry : c.sameEntries) {
            ASSERT_TRUE(ours.entries.count(entry)) << entry;
            // The Workshop compiler leaves stale bytes in the free space of index blocks.
            auto used = [&](const std::string& bytes) {
                return std::string(entry).ends_with("/BTree") ? chmtest::withoutFreeSpace(bytes)
                                                              : bytes;
            };
            EXPECT_EQ(used(ours.entries.at(entry)), used(workshop.entries.at(entry))) << entry;
        }
    }
}

// A contents file as its tree reads: each entry's depth and its page, or its name where it
// has no page.
std::vector<std::string> contentsOutline(const std::string& text) {
    static const std::regex token("<UL>|</UL>|<OBJECT type=\"text/sitemap\">[\\s\\S]*?</OBJECT>",
                                  std::regex::icase);
    static const std::regex local("name=\"Local\" value=\"([^\"]*)\"", std::regex::icase);
    static const std::regex name("name=\"Name\" value=\"([^\"]*)\"", std::regex::icase);
    std::vector<std::string> out;
    int depth = 0;
    for (std::sregex_iterator t(text.begin(), text.end(), token), end; t != end; ++t) {
        const std::string s = t->str();
        if (s.size() < 6) {
            depth += s[1] == '/' ? -1 : 1;
            continue;
        }
        std::smatch m;
        if (std::regex_search(s, m, local) || std::regex_search(s, m, name))
            out.push_back(std::to_string(depth) + " " + platform::slashSeparators(m[1].str()));
    }
    return out;
}

TEST(OwnBackend, BinaryContentsHoldTheContentsTree) {
    requireTools();
    TempDir t;
    const std::string dir = copyCorpusProject(t, "hex-ci-Othello-Help");
    std::string hhp = readBytes(dir + "/Othello.hhp");
    hhp.insert(hhp.find("Full-text"), "Binary TOC=Yes\r\n");
    testing::writeBytes(dir + "/Othello.hhp", hhp);
    const DriverResult r = compileProject(dir + "/Othello.hhp");
    ASSERT_TRUE(r.produced) << r.failure;
    const std::string extracted = t.path() + "/toc.hhc";
    chmls({"extracttoc", platform::nativePath(r.chmPath).str(), extracted}, t.path());
    const auto expected = contentsOutline(readBytes(dir + "/Othello.hhc"));
    EXPECT_EQ(expected.size(), 17u);
    EXPECT_EQ(contentsOutline(readBytes(extracted)), expected);
}

TEST(OwnBackend, SearchFindsTheSamePagesAsInTheWorkshopCompilersFile) {
    requireTools();
    const std::string python = "/usr/bin/python3";  // the one python3-chm is installed for
    TempDir t;
    const std::string dir = copyCorpusProject(t, "hex-ci-Othello-Help");
    const DriverResult r = compileProject(findHhp(dir));
    ASSERT_TRUE(r.produced) << r.failure;
    // Every ASCII word and every double-byte character of the pages, as hex bytes (GBK).
    std::set<std::string> words;
    for (const auto& e : fs::directory_iterator(dir)) {
        if (e.path().extension() != ".htm") continue;
        const std::string html = readBytes(e.path().string());
        for (const auto& w : chm::indexWords(chm::visibleText(html) + " " + pageTitle(html), 0x804))
            words.insert(w);
    }
    ASSERT_GT(words.size(), 400u);
    std::vector<std::string> args = {
        std::string(TARNBOOK_SOURCE_DIR) + "/tests/chm/search_parity.py",
        platform::nativePath(r.chmPath).str(), corpusFolder() + "/chm/Othello.chm"};
    for (const auto& w : words) {
        static const char* kHex = "0123456789abcdef";
        std::string hex;
        for (unsigned char c : w) hex += std::string{kHex[c >> 4], kHex[c & 15]};
        args.push_back(hex);
    }
    std::string out;
    EXPECT_EQ(platform::runAndCapture(python, args, t.path(), &out), 0) << out;
    EXPECT_THAT(out, HasSubstr(std::to_string(words.size()) + " words compared, 0 differ"));
}

TEST(OwnBackend, ContextNumbersNameProjectRelativePages) {
    requireTools();
    TempDir t;
    const DriverResult r = compileProject(findHhp(copyCorpusProject(t, "hibara-AttacheCase-help")));
    ASSERT_TRUE(r.produced) << r.failure;
    const auto read = chmtest::readWithChmlib(platform::nativePath(r.chmPath).str());
    ASSERT_EQ(read.error, "");
    const std::string& ivb = read.entries.at("/#IVB");
    const std::string& strings = read.entries.at("/#STRINGS");
    auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(ivb[at + i]);
        return v;
    };
    // Every id of text.h, the id 0 included (chmcmd drops it), in order, each naming its
    // page as the project does. (chmls extractalias gives up on any file with an id 0, the
    // Workshop compiler's own included, so the sample's test runs it instead.)
    ASSERT_EQ(ivb.size(), 4u + 7 * 8);
    EXPECT_EQ(u32(0), 7u * 8);
    const std::vector<std::pair<std::uint32_t, std::string>> expected = {
        {0, "pages\\overview.html"},
        {10000, "pages\\option_basic.html"},
        {20000, "pages\\option_save.html"},
        {30000, "pages\\option_delete.html"},
        {40000, "pages\\option_movement.html"},
        {50000, "pages\\option_system.html"},
        {60000, "pages\\option_advanced.html"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(u32(4 + 8 * i), expected[i].first);
        EXPECT_EQ(std::string(strings.c_str() + u32(8 + 8 * i)), expected[i].second);
    }
}

TEST(OwnBackend, KeywordObjectsInPagesJoinTheBinaryIndexAndAlinksGetTheirOwn) {
    requireTools();
    TempDir t;
    const std::string dir = t.path() + "/p";
    // The markup the editor's keyword commands insert.
    auto keywordObject = [](const char* param, const char* value) {
        return std::string(
                   "<Object type=\"application/x-oleobject\" "
                   "classid=\"clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e\">"
                   "<param name=\"") +
               param + "\" value=\"" + value + "\"><PARAM name=\"Flags\" value=\",,1\"></OBJECT>";
    };
    testing::writeBytes(dir + "/a.htm", "<html><title>A</title>" +
                                            keywordObject("Keyword", "apple; Berry") +
                                            keywordObject("ALink Name", "fruit") + "</html>");
    testing::writeBytes(dir + "/b.htm", "<html><title>B</title>" +
                                            keywordObject("ALink Name", "fruit") + "</html>");
    testing::writeBytes(
        dir + "/i.hhk",
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"apple\">"
        "<param name=\"Local\" value=\"b.htm\"></OBJECT>"
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"red\">"
        "<param name=\"Local\" value=\"a.htm\"></OBJECT></UL></UL>");
    testing::writeBytes(dir + "/p.hhp",
                        "[OPTIONS]\r\nCompiled file=p.chm\r\nIndex file=i.hhk\r\n\r\n"
                        "[FILES]\r\na.htm\r\nb.htm\r\n");
    const DriverResult r = compileProject(dir + "/p.hhp");
    ASSERT_TRUE(r.produced) << r.failure << r.logText;
    const std::string chm = platform::nativePath(r.chmPath).str();
    EXPECT_EQ(binaryIndexEntries(chm, t.path()),
              (std::vector<std::string>{"Berry|a.htm|", "apple|b.htm|a.htm|", "red|a.htm|"}));
    const std::string system = chmls({"printsystem", chm}, t.path());
    EXPECT_THAT(system, HasSubstr("there are KLinks      : 1"));
    EXPECT_THAT(system, HasSubstr("there are ALinks      : 1"));
    const auto read = chmtest::readWithChmlib(chm);
    ASSERT_EQ(read.error, "");
    const std::string& alinks = read.entries.at("/$WWAssociativeLinks/BTree");
    EXPECT_NE(alinks.find(std::string("f\0r\0u\0i\0t\0\0\0", 12)), std::string::npos);
    EXPECT_EQ(alinks[44], 1);  // one ALink name, on both pages
}

TEST(OwnBackend, PagesAndPicturesTheProjectDoesNotListArePulledInWhenReferenced) {
    TempDir t;
    const std::string dir = t.path() + "/p";
    testing::writeBytes(dir + "/sub/a.htm",
                        "<html><head><title> A page </title></head><body>"
                        "<img src=\"../img/pic%201.gif\"><a href=\"b.htm#x\">b</a>"
                        "<a href=\"http://example.org/c.htm\">web</a>"
                        "<a href=\"../../outside.htm\">out</a></body></html>");
    testing::writeBytes(dir + "/sub/b.htm", "<html><body><A HREF=\"a.htm\">back</A></body></html>");
    testing::writeBytes(dir + "/img/pic 1.gif", "GIF89a");
    testing::writeBytes(dir + "/unused.htm", "never referenced");
    testing::writeBytes(t.path() + "/outside.htm", "outside the project");
    testing::writeBytes(dir + "/popups.txt", ".topic 1\r\nA popup.\r\n");
    testing::writeBytes(dir + "/p.hhp",
                        "[OPTIONS]\r\nCompiled file=p.chm\r\nTitle=t\r\n\r\n[TEXT POPUPS]\r\n"
                        "popups.txt\r\n\r\n[FILES]\r\nsub\\a.htm\r\n");
    const DriverResult r = compileProject(dir + "/p.hhp");
    ASSERT_TRUE(r.produced) << r.failure << r.logText;
    EXPECT_EQ(r.storedFiles,
              (std::vector<std::string>{"sub/a.htm", "popups.txt", "img/pic 1.gif", "sub/b.htm"}));
    EXPECT_EQ(pageTitle("<HTML><TITLE>\r\n  A page\t</title>"), "A page");
    EXPECT_EQ(pageTitle("<html><body>no title</body>"), "");
}

}  // namespace
}  // namespace tarnbook::hhc
