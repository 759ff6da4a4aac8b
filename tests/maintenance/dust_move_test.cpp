#include <gtest/gtest.h>

#include <filesystem>

#include "CraftedProject.h"
#include "maintenance/DustMove.h"
#include "platform/Files.h"

namespace tarnbook::maintenance {
namespace {

namespace fs = std::filesystem;
using testing::CraftedProject;
using testing::readBytes;
using testing::writeBytes;

TEST(DustMove, MovesOnlyTheUnusedFileAndKeepsBothOnAClash) {
    CraftedProject p;
    const std::string dust = p.dir.file("dust");
    const auto first = analyze(p.input());
    ASSERT_TRUE(first);
    MoveReport r = moveToDust(p.resource, first->unusedRelative, dust);
    EXPECT_TRUE(r.failed.empty());
    ASSERT_EQ(r.moved.size(), 1u);
    EXPECT_FALSE(fs::exists(p.resource + "/unused.gif"));
    EXPECT_EQ(readBytes(dust + "/unused.gif"), "u");
    for (const char* kept : {"sub/pic.gif", "img/a.gif", "sub/img/b.gif", "sub/img/c.gif"})
        EXPECT_TRUE(fs::exists(p.resource + "/" + kept)) << kept;

    // The same name comes back and is moved again: the first copy stays, the second is renamed.
    p.put("unused.gif", "second");
    const auto second = analyze(p.input());
    ASSERT_TRUE(second);
    r = moveToDust(p.resource, second->unusedRelative, dust);
    ASSERT_EQ(r.moved.size(), 1u);
    EXPECT_EQ(r.moved[0].to, dust + "/unused(1).gif");
    EXPECT_EQ(readBytes(dust + "/unused.gif"), "u");
    EXPECT_EQ(readBytes(dust + "/unused(1).gif"), "second");
}

TEST(DustMove, FailedCopyLeavesTheOriginalAndIsReported) {
    CraftedProject p;
    const std::string dust = p.dir.file("dust");
    p.put("old/one.gif", "1");
    p.put("old/deeper/two.gif", "2");
    p.put("kept/empty-before/.keep", "");
    fs::remove(p.resource + "/kept/empty-before/.keep");
    // A file where the dust folder needs the folder "old": nothing can be copied under it.
    writeBytes(dust + "/old", "in the way");
    const MoveReport r =
        moveToDust(p.resource, {"old\\one.gif", "old\\deeper\\two.gif", "unused.gif"}, dust);
    ASSERT_EQ(r.failed.size(), 2u);
    EXPECT_EQ(r.failed[0].file, p.resource + "/old/one.gif");
    EXPECT_FALSE(r.failed[0].reason.empty());
    EXPECT_EQ(readBytes(p.resource + "/old/one.gif"), "1");
    EXPECT_EQ(readBytes(p.resource + "/old/deeper/two.gif"), "2");
    ASSERT_EQ(r.moved.size(), 1u);
    // A folder that was empty before the move is not the move's to remove.
    EXPECT_TRUE(fs::is_directory(p.resource + "/kept/empty-before"));
}

TEST(DustMove, RemovesTheFoldersItEmptied) {
    CraftedProject p;
    const std::string dust = p.dir.file("dust");
    p.put("old/deeper/two.gif", "2");
    const MoveReport r = moveToDust(p.resource, {"old\\deeper\\two.gif"}, dust);
    ASSERT_EQ(r.moved.size(), 1u);
    EXPECT_EQ(readBytes(dust + "/old/deeper/two.gif"), "2");
    EXPECT_FALSE(fs::exists(p.resource + "/old"));
    EXPECT_TRUE(fs::exists(p.resource + "/sub"));
}

TEST(DustMove, RefusesNamesThatLeaveTheResourceFolder) {
    CraftedProject p;
    const std::string dust = p.dir.file("dust");
    writeBytes(p.dir.file("outside.gif"), "o");
    const MoveReport r = moveToDust(p.resource, {"..\\outside.gif"}, dust);
    EXPECT_EQ(r.failed.size(), 1u);
    EXPECT_TRUE(fs::exists(p.dir.file("outside.gif")));
    EXPECT_FALSE(fs::exists(dust));
}

TEST(DustMove, DustFolderStaysOnTheDesktop) {
    const std::string desktop = platform::desktopFolder();
    EXPECT_EQ(dustFolderFor("Sample"), desktop + "/$QLT$Dust$Sample");
    EXPECT_EQ(dustFolderFor("..\\..\\x/y"), desktop + "/$QLT$Dust$.._.._x_y");
}

}  // namespace
}  // namespace tarnbook::maintenance
