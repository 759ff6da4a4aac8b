#include <chm_lib.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "compile/ChmDirectory.h"
#include "support/TempDir.h"

using namespace tarnbook::compile;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {

const std::string kChmDir = std::string(TARNBOOK_CORPUS_DIR) + "/chm/";

std::size_t chmlibCount(const std::string& path) {
    chmFile* h = chm_open(path.c_str());
    if (!h) return 0;
    std::size_t n = 0;
    chm_enumerate(
        h, CHM_ENUMERATE_ALL,
        [](chmFile*, chmUnitInfo*, void* c) {
            ++*static_cast<std::size_t*>(c);
            return CHM_ENUMERATOR_CONTINUE;
        },
        &n);
    chm_close(h);
    return n;
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(ChmDirectory, ReadsEveryEntryOfTheCorpusFiles) {
    ASSERT_TRUE(std::filesystem::exists(kChmDir)) << "the shared corpus is missing: " << kChmDir;
    const std::pair<const char*, std::size_t> files[] = {{"AttacheCase.chm", 97},
                                                         {"Othello.chm", 62},
                                                         {"streamtuner2-help.chm", 103},
                                                         {"EGL2-help.chm", 28},
                                                         {"InnoSetup-ISetup.chm", 507}};
    for (const auto& [name, entries] : files) {
        SCOPED_TRACE(name);
        ChmDirectory d;
        std::string error;
        ASSERT_TRUE(readChmDirectory(readBytes(kChmDir + name), &d, &error)) << error;
        EXPECT_EQ(d.entries.size(), entries);
        EXPECT_FALSE(d.needsRepair());
    }
}

TEST(ChmDirectory, RepairsAWrongFirstListingChunkSoChmlibSeesEveryEntry) {
    ASSERT_TRUE(std::filesystem::exists(kChmDir)) << "the shared corpus is missing: " << kChmDir;
    std::string bytes = readBytes(kChmDir + "InnoSetup-ISetup.chm");
    ChmDirectory d;
    ASSERT_TRUE(readChmDirectory(bytes, &d, nullptr));
    ASSERT_GT(d.chunkCount, 2u);
    // What chmcmd does: the header names a later chunk as the first.
    put32(bytes, d.directoryOffset + 0x20, static_cast<std::uint32_t>(d.chainFirst + 1));
    TempDir t;
    writeBytes(t.file("broken.chm"), bytes);
    ASSERT_LT(chmlibCount(t.file("broken.chm")), 507u);

    bool changed = false;
    std::string error;
    ASSERT_TRUE(repairChmDirectoryFile(t.file("broken.chm"), &changed, &error)) << error;
    EXPECT_TRUE(changed);
    EXPECT_EQ(chmlibCount(t.file("broken.chm")), 507u);
    EXPECT_EQ(readBytes(t.file("broken.chm")), readBytes(kChmDir + "InnoSetup-ISetup.chm"));

    ASSERT_TRUE(repairChmDirectoryFile(t.file("broken.chm"), &changed, &error));
    EXPECT_FALSE(changed);
}

TEST(ChmDirectory, RefusesDamagedDirectoriesWithAReason) {
    ASSERT_TRUE(std::filesystem::exists(kChmDir)) << "the shared corpus is missing: " << kChmDir;
    const std::string good = readBytes(kChmDir + "InnoSetup-ISetup.chm");
    ChmDirectory d;
    ASSERT_TRUE(readChmDirectory(good, &d, nullptr));
    const std::size_t dir = d.directoryOffset;
    const std::size_t firstChunk = dir + 0x54 + d.chainFirst * d.chunkSize;

    auto refused = [](const std::string& bytes) {
        ChmDirectory out;
        std::string error;
        const bool ok = readChmDirectory(bytes, &out, &error);
        return !ok && !error.empty();
    };
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused(good.substr(0, dir + 0x40)));  // cut inside the directory
    std::string b = good;
    b[0] = 'X';
    EXPECT_TRUE(refused(b));
    b = good;
    put32(b, dir + 0x2C, 0x7FFFFFFF);  // more chunks than the file holds
    EXPECT_TRUE(refused(b));
    b = good;
    put32(b, firstChunk + 16, static_cast<std::uint32_t>(d.chainFirst));  // links to itself
    EXPECT_TRUE(refused(b));
    b = good;
    put32(b, firstChunk + 4, 0xFFFFFF);  // free space larger than the chunk
    EXPECT_TRUE(refused(b));
    // Lookups descend from the index root: a root beyond the directory, or an index chunk
    // whose first child is itself, would send a reader astray or round forever.
    ASSERT_GE(d.indexRoot, 0);
    ASSERT_LT(d.indexRoot, 128);
    b = good;
    put32(b, dir + 0x1C, d.chunkCount);
    EXPECT_TRUE(refused(b));
    b = good;
    const std::size_t root = dir + 0x54 + d.indexRoot * d.chunkSize;
    ASSERT_EQ(b.substr(root, 4), "PMGI");
    const std::size_t nameLength = static_cast<unsigned char>(b[root + 8]);
    ASSERT_LT(nameLength, 128u);
    ASSERT_LT(static_cast<unsigned char>(b[root + 9 + nameLength]), 128);
    b[root + 9 + nameLength] = static_cast<char>(d.indexRoot);
    EXPECT_TRUE(refused(b));
    b = good;
    put32(b, dir + 0x10, 3);  // chunk size too small for a chunk header
    EXPECT_TRUE(refused(b));
    std::string unchanged = b;
    bool changed = true;
    EXPECT_FALSE(repairChmDirectoryBytes(unchanged, &changed, nullptr));
    EXPECT_EQ(unchanged, b);
}
