#include <chm_lib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "CorpusProject.h"
#include "compile/ChmDirectory.h"
#include "compile/Decompile.h"
#include "hhc/HhcDriver.h"
#include "hhc/HhcMessages.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "support/TempDir.h"

using namespace tarnbook::compile;
using namespace tarnbook::hhc;
using tarnbook::testing::copyCorpusProject;
using tarnbook::testing::findHhp;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

const std::string kCorpus = TARNBOOK_CORPUS_DIR;

bool haveChmcmd() {
    return !tarnbook::platform::findExecutable("chmcmd").empty();
}

struct Chm {
    explicit Chm(const std::string& path) : h(chm_open(path.c_str())) {}
    ~Chm() {
        if (h) chm_close(h);
    }
    std::optional<std::string> read(const std::string& name) const {
        chmUnitInfo ui{};
        if (chm_resolve_object(h, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
        std::string data(ui.length, '\0');
        if (ui.length && chm_retrieve_object(h, &ui, reinterpret_cast<unsigned char*>(data.data()),
                                             0, ui.length) != static_cast<LONGINT64>(ui.length))
            return std::nullopt;
        return data;
    }
    std::size_t count() const {
        std::size_t n = 0;
        chm_enumerate(
            h, CHM_ENUMERATE_ALL,
            [](chmFile*, chmUnitInfo*, void* c) {
                ++*static_cast<std::size_t*>(c);
                return CHM_ENUMERATOR_CONTINUE;
            },
            &n);
        return n;
    }
    chmFile* h;
};

std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().string()] = readBytes(e.path().string());
    return files;
}

// A project as the program's own writer makes it: Shift_JIS, CR LF, absolute paths of this
// machine for the log and window, backslashes everywhere else.
std::string writeOwnProject(const std::string& dir, int pages) {
    std::string files, toc, index, map, alias;
    for (int i = 0; i < pages; ++i) {
        const std::string folder = i % 3 == 0 ? "" : (i % 3 == 1 ? "guide\\" : "ref\\sub\\");
        const std::string name = folder + "page" + std::to_string(i) + ".htm";
        std::string slashed = name;
        for (auto& c : slashed)
            if (c == '\\') c = '/';
        // Every page differs, and carries Shift_JIS text with 0x5C trail bytes.
        writeBytes(dir + "/_RESOURCE/" + slashed,
                   "<HTML><HEAD><TITLE>\x95\x5C\x8E\xA6 " + std::to_string(i) +
                       "</TITLE></HEAD><BODY><p>\x83\x5C\x83\x74\x83\x67 " +
                       std::string(static_cast<std::size_t>(i % 97), 'x') +
                       "</p>"
                       "<a href=\"http://example.org/\">w</a></BODY></HTML>\r\n");
        files += "_RESOURCE\\" + name + "\r\n";
        const std::string item =
            "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"P" +
            std::to_string(i) + "\">\r\n<param name=\"Local\" value=\"_RESOURCE\\" + name +
            "\">\r\n</OBJECT>\r\n";
        toc += item;
        index += item;
        if (i % 50 == 0) {
            map += "// P" + std::to_string(i) + "\r\n#define HLP_IDH_P" + std::to_string(i) + " " +
                   std::to_string(2 * (i + 1)) + "\r\n";
            alias += "HLP_IDH_P" + std::to_string(i) + "=_RESOURCE\\" + name + "\r\n";
        }
    }
    const std::string head =
        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD "
        "HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n</HEAD><BODY>\r\n<UL>\r\n";
    writeBytes(dir + "/Help.hhc", head + toc + "</UL>\r\n</BODY></HTML>\r\n");
    writeBytes(dir + "/Help.hhk", head + index + "</UL>\r\n</BODY></HTML>\r\n");
    writeBytes(dir + "/Help.MAP", map);
    writeBytes(dir + "/Help.HHP",
               "[OPTIONS]\r\nAuto Index=Yes\r\nBinary Index=Yes\r\nCompatibility=1.1 or later\r\n"
               "Compiled file=Help.chm\r\nContents file=Help.hhc\r\nIndex file=Help.hhk\r\n"
               "Default Font=MS UI Gotic,10,128\r\nDefault Window=XHP\r\n"
               "Default topic=_RESOURCE\\page0.htm\r\nDisplay compile progress=No\r\n"
               "Error log file=" +
                   dir +
                   "/Compile.Log\r\nFlat=No\r\nFull-text search=Yes\r\n"
                   "Language=0x0411 "
                   "Japanese\r\nTitle=\x95\x5C\x8E\xA6\x82\xCC\x83\x77\x83\x8B\x83\x76\r\n\r\n"
                   "[WINDOWS]\r\nXHP=\"\x95\x5C\x8E\xA6\",\"" +
                   dir + "/Help.hhc\",\"" + dir +
                   "/Help.hhk\",\"\",,,,,,0x300,100,0x0,[100,100,700,500],0x0,0x0,,,,,0\r\n"
                   "$global_Web=\"Remote URL\",,,,,,,,,,,0x383c,[125,144,721,602],,,,,,,0\r\n\r\n"
                   "[ALIAS]\r\n" +
                   alias + "\r\n[MAP]\r\n#include Help.MAP\r\n\r\n[FILES]\r\n" + files);
    return dir + "/Help.HHP";
}

}  // namespace

TEST(HhcDriver, CompilesEveryCorpusProjectIncludingThoseChmcmdAloneRefuses) {
    if (!haveChmcmd()) GTEST_SKIP() << "chmcmd not installed";
    ASSERT_TRUE(fs::exists(kCorpus + "/hhp"))
        << "the shared corpus is missing: " << kCorpus + "/hhp";
    for (const auto& e : fs::directory_iterator(kCorpus + "/hhp")) {
        const std::string name = e.path().filename().string();
        SCOPED_TRACE(name);
        TempDir t;
        const std::string dir = copyCorpusProject(t, name);
        const auto before = snapshot(dir);
        const DriverResult r = compileProject(findHhp(dir), chmcmdOptions());
        ASSERT_TRUE(r.produced) << r.failure << "\n" << r.logText;
        // Names from the project (GBK in one of them) are core text; the disk has their
        // native form.
        const std::string chmFile = tarnbook::platform::nativePath(r.chmPath).str();
        EXPECT_GT(fs::file_size(chmFile), 0u);
        Chm chm(chmFile);
        ASSERT_NE(chm.h, nullptr);
        ChmDirectory d;
        ASSERT_TRUE(readChmDirectory(readBytes(chmFile), &d, nullptr));
        EXPECT_EQ(chm.count(), d.entries.size());
        // The author's files are as they were; only the result and the log are new.
        for (const auto& [path, bytes] : before) EXPECT_EQ(readBytes(path), bytes) << path;
        for (const auto& f : fs::recursive_directory_iterator(t.path())) {
            const std::string p = f.path().string();
            if (f.is_regular_file() && !before.count(p)) {
                EXPECT_TRUE(p == chmFile || p == r.logPath) << p;
            }
        }
    }
}

TEST(HhcDriver, AliasesAndIncludedMapReachTheCompiledFile) {
    if (!haveChmcmd()) GTEST_SKIP() << "chmcmd not installed";
    ASSERT_TRUE(fs::exists(kCorpus + "/hhp"))
        << "the shared corpus is missing: " << kCorpus + "/hhp";
    TempDir t;
    const std::string dir = copyCorpusProject(t, "hibara-AttacheCase-help");
    const DriverResult r = compileProject(dir + "/AttacheCase.hhp", chmcmdOptions());
    ASSERT_TRUE(r.produced) << r.failure;
    Chm chm(r.chmPath);
    const auto ivb = chm.read("/#IVB");
    ASSERT_TRUE(ivb);
    // A size word, then (id, string offset) pairs; chmcmd leaves out the id 0 of text.h.
    std::set<std::uint32_t> ids;
    for (std::size_t at = 4; at + 8 <= ivb->size(); at += 8) {
        std::uint32_t id = 0;
        for (int i = 3; i >= 0; --i) id = (id << 8) | static_cast<unsigned char>((*ivb)[at + i]);
        ids.insert(id);
    }
    EXPECT_EQ(ids, (std::set<std::uint32_t>{10000, 20000, 30000, 40000, 50000, 60000}));
    // The picture the repository lacks is the only finding of the project itself.
    EXPECT_THAT(r.logText, HasSubstr("HHC5003: Error: Compilation failed while compiling "
                                     "pages\\img\\gplv3-127x51.png"));
}

TEST(HhcDriver, RepairsChmcmdsMultiChunkDirectory) {
    if (!haveChmcmd()) GTEST_SKIP() << "chmcmd not installed";
    ASSERT_TRUE(fs::exists(kCorpus + "/hhp"))
        << "the shared corpus is missing: " << kCorpus + "/hhp";
    TempDir t;
    const std::string dir = copyCorpusProject(t, "sannybuilder-help-system-en");
    const DriverResult r = compileProject(dir + "/Sanny Builder.hhp", chmcmdOptions());
    ASSERT_TRUE(r.produced) << r.failure;
    EXPECT_TRUE(r.directoryRepaired);
    EXPECT_GE(Chm(r.chmPath).count(), 184u);
}

TEST(HhcDriver, OwnProjectOfHundredsOfPagesRoundTripsByteForByte) {
    if (!haveChmcmd()) GTEST_SKIP() << "chmcmd not installed";
    TempDir t;
    const int pages = 400;
    const std::string hhp = writeOwnProject(t.path() + "/proj", pages);
    const DriverResult r = compileProject(hhp);
    ASSERT_TRUE(r.produced) << r.failure << "\n" << r.logText;
    EXPECT_EQ(r.chmPath, t.path() + "/proj/Help.chm");
    ChmDirectory d;
    ASSERT_TRUE(readChmDirectory(readBytes(r.chmPath), &d, nullptr));
    EXPECT_GT(d.chunkCount, 2u);  // several listing chunks: the case chmcmd gets wrong
    EXPECT_FALSE(d.needsRepair());

    const auto out = decompileChm(r.chmPath, t.path() + "/out");
    ASSERT_TRUE(out.opened);
    EXPECT_TRUE(out.warnings.empty());
    std::size_t compared = 0;
    for (const auto& e : fs::recursive_directory_iterator(t.path() + "/proj/_RESOURCE")) {
        if (!e.is_regular_file()) continue;
        const std::string rel = e.path().lexically_relative(t.path() + "/proj").string();
        EXPECT_EQ(readBytes(t.path() + "/out/" + rel), readBytes(e.path().string())) << rel;
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<std::size_t>(pages));
    EXPECT_EQ(readBytes(t.path() + "/out/Help.hhc"), readBytes(t.path() + "/proj/Help.hhc"));

    // Title in Shift_JIS, the window, the start page with '/' and the map's context ids.
    Chm chm(r.chmPath);
    const auto system = chm.read("/#SYSTEM");
    ASSERT_TRUE(system);
    EXPECT_THAT(*system, HasSubstr("\x95\x5C\x8E\xA6\x82\xCC\x83\x77\x83\x8B\x83\x76"));
    EXPECT_THAT(*system, HasSubstr("_RESOURCE/page0.htm"));
    EXPECT_TRUE(chm.read("/#WINDOWS"));
    const auto ivb = chm.read("/#IVB");
    ASSERT_TRUE(ivb);
    EXPECT_EQ(ivb->size(), 4u + 8 * 8);
    const auto strings = chm.read("/#STRINGS");
    ASSERT_TRUE(strings);
    // The window names the sitemaps inside the file, not by this machine's paths.
    EXPECT_THAT(*strings, HasSubstr(std::string("XHP\0", 4) + "\x95\x5C\x8E\xA6" +
                                    std::string("\0Help.hhc\0Help.hhk\0", 19)));
}

TEST(HhcDriver, WritesTheLogInTheWorkshopLayout) {
    if (!haveChmcmd()) GTEST_SKIP() << "chmcmd not installed";
    TempDir t;
    const std::string hhp = writeOwnProject(t.path() + "/p", 5);
    // A broken link and a missing listed file give one warning and one error.
    writeBytes(t.path() + "/p/_RESOURCE/page0.htm", "<a href=\"nowhere.htm\">x</a>");
    std::string project = readBytes(hhp) + "_RESOURCE\\gone.htm\r\n";
    writeBytes(hhp, project);
    const DriverResult r = compileProject(hhp, chmcmdOptions());
    ASSERT_TRUE(r.produced) << r.failure;
    EXPECT_EQ(r.logPath, t.path() + "/p/Compile.Log");
    const auto lines = tarnbook::platform::splitLines(readBytes(r.logPath));
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(lines[0], driverBanner(Backend::Chmcmd));
    EXPECT_EQ(lines[2], "Compiling " + r.chmPath);
    EXPECT_THAT(readBytes(r.logPath), HasSubstr("\r\nHHC5003: Error: Compilation failed while "
                                                "compiling _RESOURCE\\gone.htm"));
    EXPECT_THAT(readBytes(r.logPath),
                HasSubstr("\r\nHHC5013: Warning: _RESOURCE/page0.htm refers to "
                          "_RESOURCE/nowhere.htm"));
    const auto compile = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("Compile time: ", 0) == 0;
    });
    ASSERT_LT(compile + 7, lines.end());
    EXPECT_EQ(compile[1], "5\tTopics");
    EXPECT_EQ(compile[2], "1\tLocal links");
    EXPECT_EQ(compile[3], "4\tInternet links");  // page0 lost its web link above
    const std::string created = "Created " + r.chmPath + ", ";
    ASSERT_EQ(compile[6].rfind(created, 0), 0u) << compile[6];
    std::string size = compile[6].substr(created.size());
    std::erase(size, ',');
    EXPECT_EQ(size, std::to_string(fs::file_size(r.chmPath)) + " bytes");
    EXPECT_EQ(compile[7].rfind("Compression ", 0), 0u);
}

TEST(HhcDriver, ACompilerThatCannotStartOrMakesNothingIsAFailureAndKeepsTheOldResult) {
    TempDir t;
    const std::string hhp = writeOwnProject(t.path() + "/p", 3);
    writeBytes(t.path() + "/p/Help.chm", "previous result");
    for (const char* program : {"/nonexistent/chmcmd", "false"}) {
        SCOPED_TRACE(program);
        const DriverResult r = compileProject(hhp, chmcmdOptions(program));
        EXPECT_FALSE(r.produced);
        EXPECT_FALSE(r.failure.empty());
        EXPECT_THAT(readBytes(t.path() + "/p/Compile.Log"), HasSubstr("HHC6000: Error: "));
        EXPECT_EQ(readBytes(t.path() + "/p/Help.chm"), "previous result");
        for (const auto& e : fs::directory_iterator(t.path() + "/p"))
            EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
    }
}

TEST(HhcDriver, TheNextBuildRemovesWhatAKilledBuildLeftButNotWhatARunningOneUses) {
    TempDir t;
    const std::string hhp = writeOwnProject(t.path() + "/p", 3);
    const std::string running = std::to_string(tarnbook::platform::currentProcessId());
    const std::vector<std::string> stale = {
        ".tarnbook-hhc-999999999-17.chm", ".tarnbook-hhc-999999999-4.hhp",
        ".tarnbook-hhc-old-999999999-2.chm", ".tarnbook-hhc-12345678.chm", ".Compile.Log.aB3dE9"};
    const std::vector<std::string> kept = {".tarnbook-hhc-" + running + "-5.chm",
                                           ".tarnbook-hhc-old-" + running + "-6.chm",
                                           "tarnbook-hhc-999999999-1.chm", ".Help.chm.aB3dE9"};
    for (const auto& n : stale) writeBytes(t.path() + "/p/" + n, "partial");
    for (const auto& n : kept) writeBytes(t.path() + "/p/" + n, "in use");
    EXPECT_TRUE(compileProject(hhp).produced);
    for (const auto& n : stale) EXPECT_FALSE(fs::exists(t.path() + "/p/" + n)) << n;
    for (const auto& n : kept) EXPECT_TRUE(fs::exists(t.path() + "/p/" + n)) << n;
}

TEST(HhcDriver, AChmcmdThatHangsIsStoppedWithEverythingItStartedAndReported) {
    TempDir t;
    const std::string hhp = writeOwnProject(t.path() + "/p", 3);
    const std::string hanging = t.path() + "/chmcmd";
    writeBytes(hanging, "#!/bin/sh\nsleep 60 &\necho $! > " + t.path() + "/child\nexec sleep 60\n");
    fs::permissions(hanging, fs::perms::owner_all);
    DriverOptions options = chmcmdOptions(hanging);
    options.timeLimit = std::chrono::seconds(1);
    const auto started = std::chrono::steady_clock::now();
    const DriverResult r = compileProject(hhp, options);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_FALSE(r.produced);
    EXPECT_THAT(r.failure, HasSubstr("did not end within 1 seconds"));
    const int child = std::stoi(readBytes(t.path() + "/child"));
    for (int i = 0; i < 200 && tarnbook::platform::processExists(child); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(tarnbook::platform::processExists(child));
}

TEST(HhcDriver, ProgramExitStatusTellsWhetherTheFileWasProduced) {
    if (!haveChmcmd()) GTEST_SKIP() << "chmcmd not installed";
    const std::string program = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/hhc/tarnbook-hhc";
    TempDir t;
    const std::string hhp = writeOwnProject(t.path() + "/p", 3);
    std::string output;
    EXPECT_EQ(tarnbook::platform::runAndCapture(program, {hhp}, t.path(), &output), 0) << output;
    EXPECT_TRUE(fs::exists(t.path() + "/p/Help.chm"));
    // A second build replaces the first result.
    writeBytes(t.path() + "/p/Help.chm", "stale");
    EXPECT_EQ(tarnbook::platform::runAndCapture(program, {hhp}, t.path(), &output), 0) << output;
    EXPECT_EQ(readBytes(t.path() + "/p/Help.chm").substr(0, 4), "ITSF");
    EXPECT_NE(
        tarnbook::platform::runAndCapture(program, {t.path() + "/none.hhp"}, t.path(), &output), 0);
    EXPECT_THAT(output, HasSubstr("cannot read the project file"));
    EXPECT_NE(
        tarnbook::platform::runAndCapture(
            program, {"--backend", "chmcmd", "--chmcmd=/nonexistent/x", hhp}, t.path(), &output),
        0);
    EXPECT_THAT(output, HasSubstr("cannot be started"));
}

TEST(HhcDriver, ProjectInAJapaneseFolderWithAJapaneseNameCompiles) {
    if (!haveChmcmd()) GTEST_SKIP() << "chmcmd not installed";
    TempDir t;
    // The folder is UTF-8 on disk; the project file names it in Shift_JIS, as the program does.
    const std::string nativeDir = t.path() + "/\xE8\xA6\x8B\xE6\x9C\xAC";  // 見本
    const std::string coreDir = tarnbook::platform::utf8ToCp932(nativeDir);
    const std::string hhp = writeOwnProject(nativeDir, 3);
    std::string text = readBytes(hhp);
    for (std::size_t at; (at = text.find(nativeDir)) != std::string::npos;)
        text.replace(at, nativeDir.size(), coreDir);
    text.replace(text.find("Compiled file=Help.chm"), 22, "Compiled file=\x8C\xA9\x96\x7B.chm");
    writeBytes(hhp, text);

    const DriverResult r = compileProject(tarnbook::platform::utf8ToCp932(hhp));
    ASSERT_TRUE(r.produced) << r.failure;
    EXPECT_TRUE(fs::exists(nativeDir + "/\xE8\xA6\x8B\xE6\x9C\xAC.chm"));
    EXPECT_TRUE(fs::exists(nativeDir + "/Compile.Log"));

    // A log that cannot be written is reported with the folder's name readable on the terminal.
    fs::remove(nativeDir + "/Compile.Log");
    fs::create_directory(nativeDir + "/Compile.Log");
    const std::string program = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/hhc/tarnbook-hhc";
    std::string output;
    // Arguments of a child process are core paths, as every file name in the program.
    tarnbook::platform::runAndCapture(program, {tarnbook::platform::utf8ToCp932(hhp)}, t.path(),
                                      &output);
    EXPECT_THAT(output, HasSubstr("cannot write the error log"));
    EXPECT_THAT(output, HasSubstr("\xE8\xA6\x8B\xE6\x9C\xAC/Compile.Log")) << output;
}

TEST(HhcDriver, AnchorsOfPagesInSubFoldersAreNotReportedWhenTheyExist) {
    if (!haveChmcmd()) GTEST_SKIP() << "chmcmd not installed";
    TempDir t;
    const std::string dir = t.path() + "/p";
    writeBytes(dir + "/sub/a.htm",
               "<html><body><a href=\"b.htm#x\">1</a> <a href=\"b.htm#gone\">2</a></body></html>");
    writeBytes(dir + "/sub/b.htm", "<html><body><h2><A NAME=\"x\">X</A></h2></body></html>");
    writeBytes(dir + "/p.hhp",
               "[OPTIONS]\r\nCompiled "
               "file=p.chm\r\nTitle=t\r\n\r\n[FILES]\r\nsub\\a.htm\r\nsub\\b.htm\r\n");
    const DriverResult r = compileProject(dir + "/p.hhp", chmcmdOptions());
    ASSERT_TRUE(r.produced) << r.failure;
    std::string all;
    for (const auto& m : r.messages) all += m.line() + "\n";
    EXPECT_THAT(all, HasSubstr("#gone"));
    EXPECT_THAT(all, ::testing::Not(HasSubstr("#x,")));
}

TEST(HhcMessages, AnchorDefinitionsAreFoundByNameOrIdInAnyQuoting) {
    TempDir t;
    writeBytes(t.path() + "/s/p.htm",
               "<a name=\"one\"></a><h2 id='two'>T</h2><a name=three>x</a><p data-id=\"four\">");
    EXPECT_TRUE(anchorIsDefined(t.path(), "s\\p.htm#one"));
    EXPECT_TRUE(anchorIsDefined(t.path(), "s/p.htm#TWO"));
    EXPECT_TRUE(anchorIsDefined(t.path(), "s/p.htm#three"));
    EXPECT_FALSE(anchorIsDefined(t.path(), "s/p.htm#four"));  // not a name or id attribute
    EXPECT_FALSE(anchorIsDefined(t.path(), "s/p.htm#thre"));
    EXPECT_FALSE(anchorIsDefined(t.path(), "s/missing.htm#one"));
}
