// The built-in writer against the packaged readers and the Workshop compiler's own files:
// every corpus project reads back byte for byte through chmlib, libmspack and chmls, and the
// fields chmls prints equal the Workshop compiler's apart from the listed exceptions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "../chm/ChmReaders.h"
#include "CorpusProject.h"
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
        const std::string chm = platform::nativePath(r.chmPath);
        ASSERT_FALSE(r.storedFiles.empty());

        const auto chmlib = chmtest::readWithChmlib(chm);
        const auto mspack = chmtest::readWithMspack(chm);
        ASSERT_EQ(chmlib.error, "");
        ASSERT_EQ(mspack.error, "");
        const std::string extracted = t.path() + "/x";
        chmls({"extractall", chm, extracted}, t.path());
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

// chmls output without the lines that differ by design: times, the Workshop compiler's
// checksum, places in a binary contents and URL table we do not lay out the same way, and
// the full-text and binary-index flags of files we do not write yet.
std::string comparable(const std::string& text) {
    static const std::regex drop(
        "(Timestamp|timestamp/checksum|TOCIDX|Tag value|fullttext|KLinks|\\(7\\)).*");
    std::string out;
    for (const auto& line : platform::splitLines(text))
        if (!std::regex_search(line, drop)) out += line + "\n";
    return out;
}

TEST(OwnBackend, SystemFilesMatchTheWorkshopCompilers) {
    requireTools();
    struct Case {
        const char* project;
        const char* original;
        std::vector<const char*> commands;
    };
    // AttacheCase's pages have changed since its compiled file was made, so its topic titles
    // differ; its window, index header and system fields still match.
    const std::vector<Case> cases = {
        {"hex-ci-Othello-Help",
         "Othello.chm",
         {"printsystem", "printwindows", "printidxhdr", "printtopics"}},
        {"hibara-AttacheCase-help",
         "AttacheCase.chm",
         {"printsystem", "printwindows", "printidxhdr"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.project);
        TempDir t;
        const DriverResult r = compileProject(findHhp(copyCorpusProject(t, c.project)));
        ASSERT_TRUE(r.produced) << r.failure;
        const std::string original = corpusFolder() + "/chm/" + c.original;
        for (const char* command : c.commands) {
            SCOPED_TRACE(command);
            const std::string theirs = comparable(chmls({command, original}, t.path()));
            EXPECT_GT(theirs.size(), 200u);
            EXPECT_EQ(comparable(chmls({command, platform::nativePath(r.chmPath)}, t.path())),
                      theirs);
        }
    }
}

TEST(OwnBackend, ContextNumbersNameProjectRelativePages) {
    requireTools();
    TempDir t;
    const DriverResult r = compileProject(findHhp(copyCorpusProject(t, "hibara-AttacheCase-help")));
    ASSERT_TRUE(r.produced) << r.failure;
    chmls({"extractalias", platform::nativePath(r.chmPath), t.path() + "/alias", "IDH_"}, t.path());
    const std::string ali = readBytes(t.path() + "/alias.ali");
    // Every id of text.h, the id 0 included, with the page as the project names it.
    for (const char* line : {"IDH_0=pages\\overview.html", "IDH_10000=pages\\option_basic.html",
                             "IDH_60000=pages\\option_advanced.html"})
        EXPECT_THAT(ali, HasSubstr(line));
    EXPECT_EQ(std::count(ali.begin(), ali.end(), '='), 7);
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
