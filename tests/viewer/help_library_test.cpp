#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "chm/ChmContainer.h"
#include "chm/SystemFiles.h"
#include "compile/ChmDirectory.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "sitemap/SitemapReader.h"
#include "support/TempDir.h"
#include "viewer/HelpLibrary.h"

using namespace tarnbook;
using namespace tarnbook::viewer;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {

const std::string kChmDir = std::string(TARNBOOK_CORPUS_DIR) + "/chm/";

std::size_t countContents(const std::vector<ContentsItem>& items) {
    std::size_t n = items.size();
    for (const auto& i : items) n += countContents(i.children);
    return n;
}

std::unique_ptr<HelpLibrary> openOrFail(const std::string& path) {
    std::string error;
    auto lib = HelpLibrary::open(path, &error);
    EXPECT_TRUE(lib) << path << ": " << error;
    return lib;
}

// Whether a search finds a page whose path contains `pathPart`.
bool finds(const HelpLibrary& lib, const std::string& query, const std::string& pathPart) {
    for (const auto& r : lib.search(query))
        if (r.target.path.find(pathPart) != std::string::npos) return true;
    return false;
}

std::string sitemapFile(const std::string& items) {
    return "<HTML><BODY><UL>\r\n" + items + "</UL></BODY></HTML>\r\n";
}
std::string sitemapItem(const std::string& name, const std::string& local) {
    return "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>\r\n";
}

std::string buildHelp(chm::SystemInput in, std::vector<chm::ChmFile> files) {
    for (auto& f : chm::buildSystemFiles(in)) files.push_back(std::move(f));
    return chm::buildChmContainer(files);
}

}  // namespace

// The five real help files: as many contents and index entries as their sitemaps hold
// (counted by hand from the files), a word of a page found in its own encoding (UTF-8,
// GB2312, Latin) and a first page that exists.
TEST(HelpLibrary, OpensTheCorpusFilesWithContentsIndexAndSearch) {
    ASSERT_TRUE(std::filesystem::exists(kChmDir)) << "the shared corpus is missing: " << kChmDir;
    struct Case {
        const char* file;
        std::size_t contents, index;
        const char* query;
        const char* foundIn;
    };
    const Case cases[] = {
        {"AttacheCase.chm", 40, 187, "暗号アルゴリズム", "pages/overview.html"},
        {"Othello.chm", 17, 2, "黑白棋", "Rule_GamePlay2.htm"},
        {"EGL2-help.chm", 0, 0, "compression method", "SETUP_GENERAL_COMPMETHOD.htm"},
        // 215 objects, one of them merging ispp.chm, which is not there.
        {"InnoSetup-ISetup.chm", 214, 1089, "ShowExceptionMessage",
         "topic_isxfunc_showexceptionmessage.htm"},
        {"streamtuner2-help.chm", 49, 130, "somafm", "SomaFM.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto lib = openOrFail(kChmDir + c.file);
        ASSERT_TRUE(lib);
        EXPECT_EQ(countContents(lib->contents()), c.contents);
        EXPECT_EQ(lib->index().size(), c.index);
        EXPECT_TRUE(finds(*lib, c.query, c.foundIn));
        const auto first = lib->defaultPage();
        ASSERT_TRUE(first);
        EXPECT_TRUE(lib->exists(*first)) << first->path;
    }
    // Japanese titles of a Shift_JIS contents file arrive as UTF-8.
    auto attache = openOrFail(kChmDir + "AttacheCase.chm");
    ASSERT_TRUE(attache && !attache->contents().empty());
    EXPECT_EQ(attache->contents()[0].title, "はじめに");
}

// The bundled sample, compiled by the program's own build: contents and index as its
// sitemaps, the window of its project, context numbers of its map file, Japanese search.
TEST(HelpLibrary, OpensTheSampleAsBuiltWithItsWindowAndContextNumbers) {
    const std::string cli = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/cli/tarnbook-cli";
    if (!platform::fileExists(cli)) GTEST_SKIP() << "needs the built tarnbook-cli";
    TempDir d;
    std::filesystem::copy(std::string(TARNBOOK_SOURCE_DIR) + "/examples/sample", d.file("s"),
                          std::filesystem::copy_options::recursive);
    std::string output;
    ASSERT_EQ(platform::runAndCapture(
                  cli, {"--home", d.file("home"), "--quiet", "build", d.file("s/Sample.XHP")}, "",
                  &output),
              0)
        << output;
    auto lib = openOrFail(d.file("s/Sample.chm"));
    ASSERT_TRUE(lib);
    auto count = [&](const char* file) {
        return sitemap::readSitemap(readBytes(d.file(file)), sitemap::TextForm::Cp932)
            .countEntries();
    };
    EXPECT_EQ(countContents(lib->contents()), count("s/Sample.hhc"));
    EXPECT_EQ(lib->index().size(), count("s/Sample.hhk"));
    EXPECT_GT(lib->index().size(), 0u);
    EXPECT_EQ(lib->title(), "サンプルヘルプ");
    ASSERT_TRUE(lib->info().window);
    EXPECT_EQ(lib->info().window->width(), 800);
    EXPECT_EQ(lib->info().window->height(), 600);
    const auto faq = lib->contextPage(1040);
    ASSERT_TRUE(faq);
    EXPECT_EQ(faq->path, "_RESOURCE/faq.htm");
    EXPECT_FALSE(lib->contextPage(999999));
    EXPECT_TRUE(finds(*lib, "文字化け", "_RESOURCE/faq.htm"));
    EXPECT_EQ(lib->defaultPage()->path, "_RESOURCE/index.htm");
}

// A help merged with a sibling through its contents and through ms-its links, and links
// that try to leave the library: nothing outside the two files is ever read.
TEST(HelpLibrary, MergesSiblingsAndNeverReadsOutsideTheLibrary) {
    TempDir d;
    chm::SystemInput main;
    main.languageId = 0x411;
    main.title = "\x83\x81\x83\x43\x83\x93";  // メイン
    main.contentsFile = "main.hhc";
    main.defaultTopic = "a.htm";
    main.aliases = {{7, "a.htm"}, {8, "missing.htm"}};
    main.mergeFiles = {"part.chm"};
    const std::string mainToc =
        sitemapFile(sitemapItem("A", "a.htm") +
                    "<LI><OBJECT type=\"text/sitemap\"><param name=\"Merge\" "
                    "value=\"part.chm::/part.hhc\"></OBJECT>\r\n");
    // Shift_JIS without any charset declaration.
    const std::string pageA =
        "<html><title>\x83\x79\x81\x5B\x83\x57</title><body>"
        "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x96\x7B\x95\xB6</body></html>";
    writeBytes(
        d.file("lib/main.chm"),
        buildHelp(main, {{"/a.htm", pageA}, {"/main.hhc", mainToc}, {"/../secret.txt", "inside"}}));
    chm::SystemInput part;
    part.contentsFile = "part.hhc";
    writeBytes(d.file("lib/part.chm"),
               buildHelp(part, {{"/p/b.htm", "<title>Bee</title>honeycomb"},
                                {"/part.hhc", sitemapFile(sitemapItem("B", "p/b.htm"))}}));
    writeBytes(d.file("lib/secret.txt"), "outside");
    writeBytes(d.file("secret.txt"), "outside");
    writeBytes(d.file("other.chm"), readBytes(d.file("lib/part.chm")));

    auto lib = openOrFail(d.file("lib/main.chm"));
    ASSERT_TRUE(lib);
    EXPECT_EQ(lib->title(), "メイン");
    ASSERT_EQ(countContents(lib->contents()), 2u);
    ASSERT_TRUE(lib->contents()[1].target);
    EXPECT_EQ(lib->bookName(lib->contents()[1].target->book), "part.chm");
    EXPECT_TRUE(finds(*lib, "日本語", "a.htm"));
    EXPECT_TRUE(finds(*lib, "HONEY", "p/b.htm"));
    EXPECT_EQ(lib->contextPage(7)->path, "a.htm");
    EXPECT_FALSE(lib->contextPage(8));  // names a page the file does not hold

    const HelpTarget a{0, "a.htm", {}};
    struct Link {
        const char* url;
        std::optional<HelpTarget> target;
    };
    const Link links[] = {
        {"ms-its:part.chm::/p/b.htm#x", HelpTarget{1, "p/b.htm", "x"}},
        {"mk:@MSITStore:C:\\Help\\PART.CHM::/p/b.htm", HelpTarget{1, "p/b.htm", {}}},
        {"#top", HelpTarget{0, "a.htm", "top"}},
        {"../../secret.txt", HelpTarget{0, "secret.txt", {}}},  // stays at the root
        {"ms-its:../other.chm::/p/b.htm", std::nullopt},        // only siblings merge in
        {"ms-its:evil.txt::/x", std::nullopt},
        {"file:///etc/passwd", std::nullopt},
        {"http://example.com/", std::nullopt},
        {"javascript:alert(1)", std::nullopt},
    };
    for (const auto& l : links) {
        SCOPED_TRACE(l.url);
        EXPECT_EQ(lib->resolve(l.url, a), l.target);
    }
    EXPECT_FALSE(lib->read(0, "secret.txt"));
    EXPECT_FALSE(lib->read(0, "../secret.txt"));
    EXPECT_EQ(lib->bookCount(), 2u);
}

// The program refuses what it cannot show with exit status 2 and a message, before any window.
TEST(ViewerProgram, EndsWithStatusTwoAndAMessageForWhatItCannotShow) {
    const std::string view = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/view/tarnbook-view";
    if (!platform::fileExists(view)) GTEST_SKIP() << "needs the built tarnbook-view";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TempDir d;
    writeBytes(d.file("h.chm"), buildHelp({}, {{"/a.htm", "a"}}));
    writeBytes(d.file("bad.chm"), "ITSF and nothing more");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no compiled help file"},
        {{"--context"}, "--context needs a number"},
        {{d.file("none.chm")}, "がありません"},
        {{d.file("bad.chm")}, "を開けません"},
        {{"--context=5", d.file("h.chm")}, "コンテキスト番号 5"},
        {{d.file("h.chm"), "missing.htm"}, "ページ missing.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::string output;
        EXPECT_EQ(platform::runAndCapture(view, c.args, "", &output), 2);
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

// Damaged directories are refused with a reason before chmlib sees them.
TEST(HelpLibrary, RefusesADamagedFileWithAReason) {
    TempDir d;
    const std::string good = buildHelp({}, {{"/a.htm", "a"}});
    compile::ChmDirectory dir;
    ASSERT_TRUE(compile::readChmDirectory(good, &dir, nullptr));
    std::string looped = good;
    const std::size_t chunk = dir.directoryOffset + 0x54 + dir.chainFirst * dir.chunkSize;
    for (int i = 0; i < 4; ++i)
        looped[chunk + 16 + i] = static_cast<char>((dir.chainFirst >> (8 * i)) & 0xFF);
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"loop.chm", looped},
                                      {"short.chm", good.substr(0, 40)},
                                      {"text.chm", "just text"}}) {
        SCOPED_TRACE(name);
        writeBytes(d.file(name), bytes);
        std::string error;
        EXPECT_FALSE(HelpLibrary::open(d.file(name), &error));
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_FALSE(HelpLibrary::open(d.file("none.chm"), &error));
    EXPECT_FALSE(error.empty());
}
