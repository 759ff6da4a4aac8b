#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/IoError.h"
#include "project/ContentsFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

using namespace tarnbook;
using namespace tarnbook::project;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {

std::string record(int level, const std::string& title, std::uint8_t type = 0) {
    TData d;
    d.ItemType = type;
    d.Title = title;
    std::string r(kCurrentRecordSize, '\0');
    encodeRecord(d, level, r.data());
    return r;
}

std::string shape(const ContentTree& t) {
    std::string s;
    t.forEach([&](TreeNode& n) {
        s += n.data.Title + ":" + std::to_string(n.depth()) + "/" + std::to_string(n.data.Level) +
             " ";
    });
    return s;
}

}  // namespace

TEST(ContentsFile, PlacesNodesByStoredLevelIncludingJumps) {
    TempDir dir;
    // a(0) b(1) c(3: no level-2 node before it -> under nearest level 2? none -> top) d(2 under b's
    // child?) ...
    std::string bytes =
        record(2, "first") + record(0, "a") + record(1, "b") + record(0, "c") + record(2, "d");
    writeBytes(dir.file("p.XHC"), bytes);
    ContentTree t;
    auto r = readContentsFile(dir.file("p.XHC"), RecordLayout::Current, 5, t);
    EXPECT_EQ(r.recordsRead, 5u);
    EXPECT_FALSE(r.shortFile);
    // A first record above level 0 goes to the top level; "d" (level 2 after a level-0 node)
    // hangs under the nearest earlier level-1 node, "b", and keeps its stored level.
    EXPECT_EQ(shape(t), "first:0/2 a:0/0 b:1/1 d:2/2 c:0/0 ");
    t.refreshNodeStatus();
    EXPECT_EQ(shape(t), "first:0/0 a:0/0 b:1/1 d:2/2 c:0/0 ");
}

TEST(ContentsFile, LevelJumpWithoutAnyEarlierParentLevelGoesToTopLevel) {
    TempDir dir;
    writeBytes(dir.file("p.XHC"), record(0, "a") + record(2, "x"));
    ContentTree t;
    readContentsFile(dir.file("p.XHC"), RecordLayout::Current, 2, t);
    EXPECT_EQ(shape(t), "a:0/0 x:0/2 ");
}

TEST(ContentsFile, ShortFileKeepsWhatWasRead) {
    TempDir dir;
    writeBytes(dir.file("p.XHC"), record(0, "a") + record(1, "b") + std::string(100, '\0'));
    ContentTree t;
    auto r = readContentsFile(dir.file("p.XHC"), RecordLayout::Current, 5, t);
    EXPECT_TRUE(r.shortFile);
    EXPECT_EQ(r.recordsRead, 2u);
    EXPECT_EQ(t.count(), 2u);
}

TEST(ContentsFile, ForeignFileWithZeroTailsRoundTripsByteForByte) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 50; ++i) {
        TData d;
        d.ItemType = i % 3 == 0 ? 1 : 0;
        d.ParentValue = 0x00A1B2C3u + static_cast<unsigned>(i);  // another program's pointer values
        d.Title = "\x83\x5c\x83\x74\x83\x67 " + std::to_string(i);  // ソフト: trail byte 0x5C
        d.HTML = "sub\\p" + std::to_string(i) + ".htm";
        d.ImageIndex = d.ItemType ? 2 : 10;
        d.KeyWord = std::u16string(300 + i, u'鍵');
        d.ContextID = "IDH_" + std::to_string(i);
        std::string r(kCurrentRecordSize, '\0');
        encodeRecord(d, i % 3 == 0 ? 0 : 1, r.data());
        bytes += r;
    }
    writeBytes(dir.file("in.XHC"), bytes);
    ContentTree t;
    readContentsFile(dir.file("in.XHC"), RecordLayout::Current, 50, t);
    EXPECT_EQ(writeContentsFile(dir.file("out.XHC"), t), 50u);
    EXPECT_EQ(readBytes(dir.file("out.XHC")), bytes);
}

TEST(ContentsFile, EmptyTreeWritesAnEmptyFile) {
    TempDir dir;
    ContentTree t;
    EXPECT_EQ(writeContentsFile(dir.file("e.XHC"), t), 0u);
    EXPECT_EQ(readBytes(dir.file("e.XHC")), "");
    readContentsFile(dir.file("e.XHC"), RecordLayout::Current, 0, t);
    EXPECT_TRUE(t.empty());
}

TEST(ContentsFile, WriteThatFailsPartWayLeavesThePreviousFile) {
    TempDir dir;
    writeBytes(dir.file("p.XHC"), "old contents");
    ContentTree t;
    for (int i = 0; i < 2000; ++i) t.appendChild(nullptr, std::make_unique<TreeNode>());
    {
        tarnbook::testing::FileSizeLimit limit(64 * 1024);  // the disk "fills up" after 64 KiB
        EXPECT_THROW(writeContentsFile(dir.file("p.XHC"), t), platform::IoError);
    }
    EXPECT_EQ(readBytes(dir.file("p.XHC")), "old contents");
}
