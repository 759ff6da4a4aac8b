#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
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
    EXPECT_EQ(nativePath(upper).str(), exact);
    EXPECT_EQ(nativePath(backslashSeparators(upper)).str(), exact);
    EXPECT_TRUE(fileExists(upper));
    EXPECT_EQ(readFile(upper), "x");
    EXPECT_FALSE(folderExists(upper));
    EXPECT_TRUE(folderExists(dir.path() + "/SUB FOLDER"));
}

TEST(Paths, NewFileInResolvedFolderKeepsItsName) {
    TempDir dir;
    writeBytes(dir.file("Pages/old.htm"), "x");
    writeFileAtomic(dir.path() + "\\PAGES\\NewPage.htm", "new");
    EXPECT_EQ(nativePath(dir.path() + "/PAGES/NewPage.htm").str(), dir.file("Pages/NewPage.htm"));
    EXPECT_EQ(tarnbook::testing::readBytes(dir.file("Pages/NewPage.htm")), "new");
    // Missing components stay as given, so a whole new branch is made as written.
    EXPECT_TRUE(createFolders(dir.path() + "/pages/New/Deeper"));
    EXPECT_TRUE(folderExists(dir.file("Pages/New/Deeper")));
}

TEST(Paths, Cp932NamesMapToUtf8OnDisk) {
    TempDir dir;
    writeBytes(dir.file("表示/Index.HTM"), "x");
    const std::string core = corePath(NativePath(dir.path())) + "/\x95\x5C\x8E\xA6\\index.htm";
    EXPECT_EQ(nativePath(core).str(), dir.file("表示/Index.HTM"));
    // A folder named 表 (trail byte '\'): the path below it does not split there.
    EXPECT_TRUE(createFolders(corePath(NativePath(dir.path())) + "/" + kHyou));
    writeFileAtomic(corePath(NativePath(dir.path())) + "/" + kHyou + "\\a.txt", "a");
    EXPECT_EQ(tarnbook::testing::readBytes(dir.file("表/a.txt")), "a");
    EXPECT_EQ(corePath(NativePath(dir.file("表"))), corePath(NativePath(dir.path())) + "/" + kHyou);
}

TEST(Paths, FileNamesRefuseSeparatorsButNotTrailBytesOfDoubleByteCharacters) {
    // ソ, 表 and 能 end in 0x5C, the byte of '\'; they are whole characters of a valid name.
    for (const char* ok : {"Intro page.v2", "ソフト", "表示", "機能一覧"})
        EXPECT_TRUE(isValidFileName(utf8ToCp932(ok))) << ok;
    for (char c : kForbiddenNameCharacters)
        EXPECT_FALSE(isValidFileName(std::string("a") + c + "b")) << c;
    // A forbidden character right after a double-byte character is still refused.
    EXPECT_FALSE(isValidFileName(utf8ToCp932("ソ") + "\\x"));
    EXPECT_FALSE(isValidFileName(utf8ToCp932("表") + "/"));
}

TEST(ProgramArguments, HomeIsAbsoluteAndAJapaneseFolderKeepsItsName) {
    TempDir dir;
    const std::string japanese = dir.path() + "/日本語";
    auto parsed = parseProgramArguments({"--home", japanese, "a.XHP"});
    ASSERT_TRUE(parsed.home);
    EXPECT_EQ(parsed.rest, std::vector<std::string>{"a.XHP"});
    setAppFolderOverride(*parsed.home);
    EXPECT_TRUE(createFolders(appFolder()));
    EXPECT_TRUE(std::filesystem::is_directory(japanese));
    setAppFolderOverride(NativePath());

    EXPECT_THROW(parseProgramArguments({"--home"}), std::invalid_argument);
    EXPECT_TRUE(parseProgramArguments({"-h", "build"}).help);
    // The shared flags come before the command; the same words after it belong to the command.
    const auto flags = parseProgramArguments({"--quiet", "--version", "build", "--quiet"});
    EXPECT_TRUE(flags.quiet);
    EXPECT_TRUE(flags.version);
    EXPECT_EQ(flags.rest, (std::vector<std::string>{"build", "--quiet"}));
    EXPECT_FALSE(parseProgramArguments({"build", "-q"}).quiet);
    // A relative path names the same place from anywhere: it is made absolute.
    EXPECT_TRUE(isAbsolutePath(coreArgumentPath("w/cur/cur.XHP")));
}
