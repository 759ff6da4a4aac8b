#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

using namespace tarnbook::platform;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {
const std::string kHyou = "\x95\x5C";  // 表: its trail byte is '\'
}

TEST(Paths, PartsWithEitherSeparator) {
    EXPECT_EQ(fileNamePart("a\\b/c.htm"), "c.htm");
    EXPECT_EQ(folderPart("a\\b/c.htm"), "a\\b");
    EXPECT_EQ(folderPartWithSeparator("a\\b/c.htm"), "a\\b/");
    EXPECT_EQ(folderPart("c.htm"), "");
    EXPECT_EQ(folderPart("/c.htm"), "/");
    EXPECT_EQ(extensionPart("a.d\\c.htm"), ".htm");
    EXPECT_EQ(extensionPart("a.d\\c"), "");
    EXPECT_EQ(changeExtension("a.d\\c.htm", ".html"), "a.d\\c.html");
    EXPECT_EQ(changeExtension("a.d\\c", ".hhc"), "a.d\\c.hhc");
    EXPECT_EQ(baseName("x/c.tar.gz"), "c.tar");
    EXPECT_EQ(joinPath("a", "b"), "a/b");
    EXPECT_EQ(joinPath("a\\", "b"), "a\\b");
    EXPECT_TRUE(isAbsolutePath("\\a"));
    EXPECT_FALSE(isAbsolutePath("a/b"));
}

TEST(Paths, TrailByte5CIsNotASeparator) {
    const std::string path = kHyou + "\\" + kHyou;  // 表\表
    EXPECT_FALSE(isSeparatorAt(path, 1));
    EXPECT_TRUE(isSeparatorAt(path, 2));
    EXPECT_EQ(lastSeparator(path), 2u);
    EXPECT_EQ(fileNamePart(path), kHyou);
    EXPECT_EQ(folderPart(path), kHyou);
    EXPECT_EQ(fileNamePart("dir\\" + kHyou), kHyou);
    EXPECT_EQ(slashSeparators(path), kHyou + "/" + kHyou);
    EXPECT_EQ(backslashSeparators(kHyou + "/x"), kHyou + "\\x");
    EXPECT_EQ(joinPath(kHyou, "x"), kHyou + "/x");
    EXPECT_EQ(extensionPart(kHyou + ".htm"), ".htm");
}

TEST(Paths, NormalizeRelative) {
    bool escapes = true;
    EXPECT_EQ(normalizeRelative("a\\.\\b\\..\\c.htm", &escapes), "a\\c.htm");
    EXPECT_FALSE(escapes);
    EXPECT_EQ(normalizeRelative("a/b/../../c", &escapes), "c");
    EXPECT_FALSE(escapes);
    EXPECT_EQ(normalizeRelative("a\\..\\..\\c", &escapes), "..\\c");
    EXPECT_TRUE(escapes);
    EXPECT_EQ(normalizeRelative(kHyou + "\\..\\x", &escapes), "x");
    EXPECT_FALSE(escapes);
}

TEST(Paths, UpperCasedAbsolutePathFindsMixedCaseFile) {
    TempDir dir;
    writeBytes(dir.file("Sub Folder/MixedCase.Htm"), "x");
    const std::string exact = dir.file("Sub Folder/MixedCase.Htm");
    const std::string upper = dir.path() + "/" + upperCaseSjis("Sub Folder/MixedCase.Htm");
    EXPECT_EQ(nativePath(upper), exact);
    EXPECT_EQ(nativePath(backslashSeparators(upper)), exact);
    EXPECT_TRUE(fileExists(upper));
    EXPECT_EQ(readFile(upper), "x");
    EXPECT_FALSE(folderExists(upper));
    EXPECT_TRUE(folderExists(dir.path() + "/SUB FOLDER"));
}

TEST(Paths, NewFileInResolvedFolderKeepsItsName) {
    TempDir dir;
    writeBytes(dir.file("Pages/old.htm"), "x");
    writeFileAtomic(dir.path() + "\\PAGES\\NewPage.htm", "new");
    EXPECT_EQ(nativePath(dir.path() + "/PAGES/NewPage.htm"), dir.file("Pages/NewPage.htm"));
    EXPECT_EQ(tarnbook::testing::readBytes(dir.file("Pages/NewPage.htm")), "new");
    // Missing components stay as given, so a whole new branch is made as written.
    EXPECT_TRUE(createFolders(dir.path() + "/pages/New/Deeper"));
    EXPECT_TRUE(folderExists(dir.file("Pages/New/Deeper")));
}

TEST(Paths, Cp932NamesMapToUtf8OnDisk) {
    TempDir dir;
    writeBytes(dir.file("表示/Index.HTM"), "x");
    const std::string core = corePath(dir.path()) + "/\x95\x5C\x8E\xA6\\index.htm";
    EXPECT_EQ(nativePath(core), dir.file("表示/Index.HTM"));
    // A folder named 表 (trail byte '\'): the path below it does not split there.
    EXPECT_TRUE(createFolders(corePath(dir.path()) + "/" + kHyou));
    writeFileAtomic(corePath(dir.path()) + "/" + kHyou + "\\a.txt", "a");
    EXPECT_EQ(tarnbook::testing::readBytes(dir.file("表/a.txt")), "a");
    EXPECT_EQ(corePath(dir.file("表")), corePath(dir.path()) + "/" + kHyou);
}
