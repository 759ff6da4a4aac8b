#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "compile/ChmDirectory.h"
#include "compile/Decompile.h"
#include "compile/DecompileIsolated.h"
#include "support/TempDir.h"

using namespace tarnbook::compile;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;
namespace fs = std::filesystem;

namespace {

const std::string kChmDir = std::string(TARNBOOK_CORPUS_DIR) + "/chm/";

// The container's own entries too, as extract_chmLib writes them (without "::" storage).
DecompileOptions withInternal() {
    DecompileOptions o;
    o.includeInternal = true;
    return o;
}

std::size_t storageFiles(const std::string& chm) {
    ChmDirectory d;
    readChmDirectory(readBytes(chm), &d, nullptr);
    return static_cast<std::size_t>(std::count_if(d.entries.begin(), d.entries.end(), [](auto& e) {
        return e.name.starts_with("::") && !e.name.ends_with("/");
    }));
}

std::size_t regularFiles(const std::string& folder) {
    std::size_t n = 0;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) ++n;
    return n;
}

}  // namespace

TEST(Decompile, UnpacksEveryCorpusFileCompletely) {
    ASSERT_TRUE(fs::exists(kChmDir)) << "the shared corpus is missing: " << kChmDir;
    // Entries as listed by chmlib; files as extract_chmLib writes them (pages, pictures and
    // the #/$ system files, without folders and storage entries), and the storage files.
    struct Expect {
        const char* name;
        std::size_t entries;
        std::size_t files;
    } files[] = {{"AttacheCase.chm", 97, 84},
                 {"Othello.chm", 62, 51},
                 {"streamtuner2-help.chm", 103, 92},
                 {"EGL2-help.chm", 28, 20},
                 {"InnoSetup-ISetup.chm", 507, 496}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        TempDir out;
        std::size_t lastDone = 0, lastTotal = 0, calls = 0;
        const auto r = decompileChm(
            kChmDir + f.name, out.path() + "/x",
            [&](std::size_t done, std::size_t total) {
                EXPECT_GE(done, lastDone);
                lastDone = done;
                lastTotal = total;
                ++calls;
            },
            withInternal());
        ASSERT_TRUE(r.opened) << r.error;
        EXPECT_EQ(r.entries, f.entries);
        const std::size_t files = f.files + storageFiles(kChmDir + f.name);
        EXPECT_EQ(r.filesWritten, files);
        EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
        EXPECT_EQ(regularFiles(out.path()), files);
        EXPECT_EQ(lastDone, lastTotal);
        EXPECT_EQ(calls, files + 1);
    }
    TempDir out;
    decompileChm(kChmDir + "AttacheCase.chm", out.path(), {}, withInternal());
    EXPECT_TRUE(fs::exists(out.path() + "/Table of Contents.hhc"));
    EXPECT_TRUE(fs::exists(out.path() + "/pages/img/Octocat.png"));
}

TEST(Decompile, EntryNamesThatCouldLeaveTheFolderAreRefused) {
    struct Case {
        const char* name;
        bool written;
    } cases[] = {
        {"/index.htm", true},    {"/pages/img/a b.png", true}, {"/#SYSTEM", true},
        {"/../x.htm", false},    {"/a/../../x.htm", false},    {"/a/..", false},
        {"//etc/passwd", false}, {"/a\\..\\..\\x", false},     {"/C:/x.htm", false},
        {"/a//b.htm", false},    {"/./x.htm", false},          {"/a\x01.htm", false},
        {"relative.htm", false},
    };
    for (const auto& c : cases) {
        std::string reason;
        const auto path = safeEntryPath(c.name, &reason);
        EXPECT_EQ(path.has_value(), c.written) << c.name;
        if (!c.written) {
            EXPECT_FALSE(reason.empty()) << c.name;
        }
    }
    // Folders and the container's storage are simply not files: no path, no complaint.
    for (const char* name : {"/", "/pages/", "::DataSpace/NameList"}) {
        std::string reason = "x";
        EXPECT_FALSE(safeEntryPath(name, &reason)) << name;
        EXPECT_TRUE(reason.empty()) << name;
    }
    EXPECT_EQ(safeEntryPath("/pages/a.htm"), "pages/a.htm");
}

TEST(Decompile, AHostileEntryNameIsSkippedAndNothingLandsOutsideTheFolder) {
    ASSERT_TRUE(fs::exists(kChmDir)) << "the shared corpus is missing: " << kChmDir;
    // Rename an entry inside the directory chunk to a climbing name of the same length.
    std::string bytes = readBytes(kChmDir + "EGL2-help.chm");
    ChmDirectory d;
    ASSERT_TRUE(readChmDirectory(bytes, &d, nullptr));
    std::string victim;
    for (const auto& e : d.entries)
        if (e.name.size() >= 8 && e.name[1] != '#' && e.name[1] != '$' && e.name.back() != '/' &&
            e.name[0] == '/')
            victim = e.name;
    ASSERT_FALSE(victim.empty());
    std::string hostile = "/../../" + std::string(victim.size() - 7, 'p');
    const std::size_t at = bytes.find(victim, d.directoryOffset);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, victim.size(), hostile);

    TempDir root;
    writeBytes(root.file("hostile.chm"), bytes);
    const auto r =
        decompileChm(root.file("hostile.chm"), root.path() + "/a/b/out", {}, withInternal());
    ASSERT_TRUE(r.opened);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find(hostile), std::string::npos);
    EXPECT_EQ(r.filesWritten, 19u + storageFiles(kChmDir + "EGL2-help.chm"));
    for (const auto& e : fs::recursive_directory_iterator(root.path())) {
        const std::string p = e.path().string();
        EXPECT_TRUE(p == root.file("hostile.chm") || p == root.path() + "/a" ||
                    p.rfind(root.path() + "/a/b", 0) == 0)
            << p;
    }
}

TEST(Decompile, ReportsAFileThatIsNotACompiledHelpFile) {
    TempDir d;
    writeBytes(d.file("fake.chm"), "not a help file");
    auto r = decompileChm(d.file("fake.chm"), d.file("out"));
    EXPECT_FALSE(r.opened);
    EXPECT_FALSE(r.error.empty());
    r = decompileChm(d.file("absent.chm"), d.file("out"));
    EXPECT_FALSE(r.opened);
    EXPECT_FALSE(fs::exists(d.file("out")));
}

TEST(Decompile, CraftedDirectoriesEndWithAClearMessage) {
    ASSERT_TRUE(fs::exists(kChmDir)) << "the shared corpus is missing: " << kChmDir;
    const std::string original = readBytes(kChmDir + "EGL2-help.chm");
    ChmDirectory d;
    ASSERT_TRUE(readChmDirectory(original, &d, nullptr));
    auto u32At = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(original[at + i]);
        return v;
    };
    const std::size_t firstChunk = d.directoryOffset + u32At(d.directoryOffset + 8) +
                                   static_cast<std::size_t>(d.chainFirst) * d.chunkSize;
    TempDir root;

    // A listing chunk that links to itself made the reader loop for ever.
    std::string looped = original;
    for (int i = 0; i < 4; ++i)
        looped[firstChunk + 16 + i] = static_cast<char>((d.chainFirst >> (8 * i)) & 0xFF);
    writeBytes(root.file("looped.chm"), looped);
    const auto r = decompileChm(root.file("looped.chm"), root.file("out1"));
    EXPECT_FALSE(r.opened);
    EXPECT_THAT(r.error, ::testing::HasSubstr("circle"));

    // A name with terminal control sequences and a NUL is printed escaped, never raw.
    std::string victim;
    for (const auto& e : d.entries)
        if (e.name.size() >= 12 && e.name.rfind("/", 0) == 0 && e.name.back() != '/' &&
            e.name[1] != '#' && e.name[1] != '$')
            victim = e.name;
    ASSERT_FALSE(victim.empty());
    std::string hostile = std::string("/\x1B]0;x\x07\x1B[2J", 11) + '\0';
    hostile += std::string(victim.size() - hostile.size(), 'p');
    std::string renamed = original;
    renamed.replace(renamed.find(victim, d.directoryOffset), victim.size(), hostile);
    writeBytes(root.file("named.chm"), renamed);
    const auto n = decompileChm(root.file("named.chm"), root.file("out2"));
    ASSERT_TRUE(n.opened);
    ASSERT_EQ(n.warnings.size(), 1u);
    EXPECT_THAT(n.warnings[0], ::testing::HasSubstr("/\\x1B]0;x\\x07\\x1B[2J\\x00pp"));
    EXPECT_EQ(n.warnings[0].find_first_of(std::string("\x1B\x07\0", 3)), std::string::npos);
    EXPECT_EQ(n.filesWritten, regularFiles(root.file("out2")));
}

TEST(Decompile, InternalEntriesCollidingNamesAndLinksInTheFolder) {
    ASSERT_TRUE(fs::exists(kChmDir)) << "the shared corpus is missing: " << kChmDir;
    // Two names that differ only in letter case, which the file access does not tell apart.
    std::string bytes = readBytes(kChmDir + "EGL2-help.chm");
    const std::size_t at = bytes.find("/SETUP_ADVANCED_THDCT.htm");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 25, "/setup_advanced_bufct.htm");
    TempDir root;
    writeBytes(root.file("case.chm"), bytes);
    writeBytes(root.file("victim"), "keep");
    fs::create_directories(root.file("elsewhere"));

    struct Case {
        const char* name;
        bool all;
        std::size_t written, internalSkipped;
        std::vector<std::string> present, absent;
    } cases[] = {
        {"pages only",
         false,
         10,
         16,
         {"main.css", "SETUP_ADVANCED_BUFCT.htm", "setup_advanced_bufct~2.htm"},
         {"#SYSTEM", "$OBJINST", "::DataSpace"}},
        {"everything",
         true,
         26,
         0,
         {"#SYSTEM", "$OBJINST", "::DataSpace/Storage/MSCompressed/ControlData"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = root.file(c.name);
        DecompileOptions o;
        o.includeInternal = c.all;
        const auto r = decompileChm(root.file("case.chm"), out, {}, o);
        ASSERT_TRUE(r.opened) << r.error;
        EXPECT_EQ(r.filesWritten, c.written);
        EXPECT_EQ(regularFiles(out), r.filesWritten);
        EXPECT_EQ(r.internalSkipped, c.internalSkipped);
        ASSERT_EQ(r.warnings.size(), 1u);
        EXPECT_THAT(r.warnings[0], ::testing::HasSubstr("setup_advanced_bufct~2.htm"));
        for (const auto& p : c.present) EXPECT_TRUE(fs::exists(out + "/" + p)) << p;
        for (const auto& p : c.absent) EXPECT_FALSE(fs::exists(out + "/" + p)) << p;
    }

    // Links already in the folder are never written through, whether a file or a folder.
    const std::string out = root.file("linked");
    fs::create_directories(out);
    fs::create_symlink(root.file("victim"), out + "/main.css");
    fs::create_directory_symlink(root.file("elsewhere"), out + "/::DataSpace");
    DecompileOptions all;
    all.includeInternal = true;
    const auto r = decompileChm(root.file("case.chm"), out, {}, all);
    EXPECT_EQ(r.filesWritten, 26u - 1 - 6);
    EXPECT_EQ(r.warnings.size(), 1u + 1 + 6);
    EXPECT_EQ(readBytes(root.file("victim")), "keep");
    EXPECT_TRUE(fs::is_empty(root.file("elsewhere")));
}

TEST(Decompile, DamagedFilesEndInTimeWithAMessageAndWhatCouldBeRead) {
    // The files that crashed, hung or exhausted the reader; made by
    // tools/make-decompile-seeds.py from EGL2-help.chm.
    const std::string seeds = std::string(TARNBOOK_SOURCE_DIR) + "/fuzz/seeds/fuzz_decompile/";
    struct Case {
        const char* file;
        bool opened;
        const char* says;  // in the error or a warning
    } cases[] = {
        {"self-linked-chunk.chm", false, "circle"},
        {"terabyte-entry.chm", true, "more than the file can hold"},
        {"bad-lzx-control.chm", true, ""},
        {"sound.chm", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir out;
        const auto started = std::chrono::steady_clock::now();
        const auto r = decompileIsolated(seeds + c.file, out.file("x"));
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
        EXPECT_EQ(r.opened, c.opened) << r.error;
        if (!r.opened) {
            EXPECT_FALSE(r.error.empty());
        }
        std::string said = r.error;
        for (const auto& w : r.warnings) said += "\n" + w;
        EXPECT_THAT(said, ::testing::HasSubstr(c.says));
        EXPECT_EQ(r.filesWritten, fs::exists(out.file("x")) ? regularFiles(out.file("x")) : 0u);
    }
}
