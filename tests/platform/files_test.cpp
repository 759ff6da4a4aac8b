#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

using namespace tarnbook::platform;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> names(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : listFolder(folder)) out.push_back(e.name);
    return out;
}

mode_t modeOf(const std::string& path) {
    struct stat st;
    stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

// Sets an environment variable for the life of the object.
class EnvVar {
  public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvVar() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

}  // namespace

TEST(Files, SplitLinesAcceptsCrLfLfAndLoneCr) {
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(splitLines("\r\r\n\n"), (Lines{"", "", ""}));
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("\x95\x5C\r\n"), (Lines{"\x95\x5C"}));
}

TEST(Files, ReadAndWriteLines) {
    TempDir dir;
    writeBytes(dir.file("in.txt"), "one\r\ntwo\nthree\rfour");
    EXPECT_EQ(readLines(dir.file("in.txt")), (Lines{"one", "two", "three", "four"}));
    writeLinesCrLf(dir.file("out.txt"), {"a", "", "b"});
    EXPECT_EQ(readBytes(dir.file("out.txt")), "a\r\n\r\nb\r\n");
    EXPECT_THROW(readLines(dir.file("missing.txt")), IoError);
    EXPECT_FALSE(tryReadFile(dir.file("missing.txt")).has_value());
    EXPECT_FALSE(tryReadFile(dir.path()).has_value());
}

TEST(Files, AtomicWriteReplacesAndKeepsTheMode) {
    TempDir dir;
    const std::string f = dir.file("a.txt");
    writeFileAtomic(f, "first");
    EXPECT_EQ(readBytes(f), "first");
    EXPECT_EQ(modeOf(f), 0644u);
    chmod(f.c_str(), 0600);
    writeFileAtomic(f, "second");
    EXPECT_EQ(readBytes(f), "second");
    EXPECT_EQ(modeOf(f), 0600u);
    EXPECT_EQ(names(dir.path()), Lines{"a.txt"});  // no temporary file left

    const std::string longName(250, 'n');  // no room for a temporary name built from it
    writeFileAtomic(dir.file(longName), "long");
    EXPECT_EQ(readBytes(dir.file(longName)), "long");
}

TEST(Files, FailedAtomicWriteLeavesTheOldFile) {
    TempDir dir;
    const std::string f = dir.file("a.txt");
    writeBytes(f, "old");
    EXPECT_THROW(writeFileAtomicStreamed(f,
                                         [](const std::function<void(std::string_view)>& sink) {
                                             sink("partial new contents");
                                             throw std::runtime_error("producer failed");
                                         }),
                 std::runtime_error);
    EXPECT_EQ(readBytes(f), "old");
    EXPECT_EQ(names(dir.path()), Lines{"a.txt"});

    // A folder cannot be replaced by a file: the rename fails and the temporary is gone.
    writeBytes(dir.file("sub/keep.txt"), "k");
    EXPECT_THROW(writeFileAtomic(dir.file("sub"), "x"), IoError);
    EXPECT_EQ(names(dir.path()), (Lines{"a.txt", "sub"}));

    try {
        writeFileAtomic(dir.file("nofolder/x.txt"), "x");
        FAIL() << "no exception";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("nofolder"), std::string::npos) << e.what();
    }
}

TEST(Files, FailedAtomicWriteInReadOnlyFolder) {
    if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    TempDir dir;
    writeBytes(dir.file("ro/a.txt"), "old");
    chmod(dir.file("ro").c_str(), 0555);
    EXPECT_THROW(writeFileAtomic(dir.file("ro/a.txt"), "new"), IoError);
    chmod(dir.file("ro").c_str(), 0755);
    EXPECT_EQ(readBytes(dir.file("ro/a.txt")), "old");
    EXPECT_EQ(names(dir.file("ro")), Lines{"a.txt"});
}

TEST(Files, StreamedWriteOfLargeContents) {
    TempDir dir;
    std::string expected;
    writeFileAtomicStreamed(dir.file("big.bin"),
                            [&](const std::function<void(std::string_view)>& sink) {
                                for (int i = 0; i < 5000; ++i) {
                                    std::string chunk(i % 97, static_cast<char>('a' + i % 26));
                                    if (i % 1000 == 0) chunk.assign(100000, 'Z');
                                    expected += chunk;
                                    sink(chunk);
                                }
                            });
    EXPECT_EQ(readBytes(dir.file("big.bin")), expected);
}

TEST(Files, CopyRenameDelete) {
    TempDir dir;
    writeBytes(dir.file("a.txt"), "A");
    writeBytes(dir.file("b.txt"), "B");
    ASSERT_TRUE(setFileAge(dir.file("a.txt"), 1000000000));

    EXPECT_FALSE(copyFile(dir.file("a.txt"), dir.file("B.TXT"), true));
    EXPECT_EQ(readBytes(dir.file("b.txt")), "B");
    EXPECT_TRUE(copyFile(dir.file("A.TXT"), dir.file("b.txt"), false));
    EXPECT_EQ(readBytes(dir.file("b.txt")), "A");
    EXPECT_EQ(fileAge(dir.file("b.txt")), 1000000000);
    EXPECT_TRUE(copyFile(dir.file("a.txt"), dir.file("c.txt"), true));
    EXPECT_FALSE(copyFile(dir.file("missing.txt"), dir.file("d.txt"), false));

    // A rename that only changes the case, and one that would replace another file.
    EXPECT_TRUE(renameFile(dir.file("c.txt"), dir.file("C.TXT")));
    EXPECT_EQ(names(dir.path()), (Lines{"C.TXT", "a.txt", "b.txt"}));
    EXPECT_FALSE(renameFile(dir.file("C.TXT"), dir.file("A.txt")));
    EXPECT_EQ(readBytes(dir.file("a.txt")), "A");
    EXPECT_TRUE(renameFile(dir.file("c.txt"), dir.file("d.txt")));

    EXPECT_TRUE(deleteFile(dir.file("D.TXT")));
    EXPECT_FALSE(deleteFile(dir.file("d.txt")));
    EXPECT_EQ(names(dir.path()), (Lines{"a.txt", "b.txt"}));
}

TEST(Files, FoldersSizesAndAges) {
    TempDir dir;
    EXPECT_TRUE(createFolders(dir.file("x/y/z")));
    EXPECT_TRUE(createFolders(dir.file("x/y/z")));
    EXPECT_FALSE(createFolder(dir.file("x")));
    EXPECT_TRUE(createFolder(dir.file("w")));
    writeBytes(dir.file("x/f.bin"), std::string(1234, 'q'));
    EXPECT_FALSE(createFolders(dir.file("x/f.bin/sub")));

    auto entries = listFolder(dir.file("X"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "f.bin");
    EXPECT_FALSE(entries[0].isFolder);
    EXPECT_EQ(entries[0].size, 1234);
    EXPECT_EQ(entries[1].name, "y");
    EXPECT_TRUE(entries[1].isFolder);
    EXPECT_TRUE(listFolder(dir.file("nothing")).empty());

    EXPECT_EQ(fileSize(dir.file("x/f.bin")), 1234);
    EXPECT_EQ(fileSize(dir.file("x/none")), -1);
    EXPECT_EQ(fileAge(dir.file("x/none")), -1);
    EXPECT_TRUE(setFileAge(dir.file("X/F.BIN"), 1500000000));
    EXPECT_EQ(fileAge(dir.file("x/f.bin")), 1500000000);
    EXPECT_TRUE(pathExists(dir.file("x")));
    EXPECT_FALSE(fileExists(dir.file("x")));

    EXPECT_FALSE(deleteFolderTree(dir.file("x/f.bin")));
    EXPECT_TRUE(deleteFolderTree(dir.file("X")));
    EXPECT_FALSE(pathExists(dir.file("x")));
}

TEST(Files, TemporaryFilesHaveThePrefixAndAreUnique) {
    TempDir dir;
    EnvVar tmp("TMPDIR", dir.path().c_str());
    EXPECT_EQ(tempFolder(), dir.path());
    std::string a = makeTempFile("QLT", ".html");
    std::string b = makeTempFile("QLT", ".html");
    EXPECT_NE(a, b);
    EXPECT_EQ(folderPart(a), dir.path());
    EXPECT_EQ(fileNamePart(a).substr(0, 3), "QLT");
    EXPECT_EQ(extensionPart(a), ".html");
    EXPECT_EQ(fileSize(a), 0);
    EXPECT_EQ(names(dir.path()).size(), 2u);
}

TEST(Files, AppFolder) {
    EnvVar xdg("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(appFolder(), "/data/home/Tarnbook");
    {
        EnvVar noXdg("XDG_DATA_HOME", nullptr);
        EnvVar home("HOME", "/home/someone");
        EXPECT_EQ(appFolder(), "/home/someone/.local/share/Tarnbook");
        EXPECT_EQ(homeFolder(), "/home/someone");
    }
    setAppFolderOverride(NativePath("/elsewhere/app/"));
    EXPECT_EQ(appFolder(), "/elsewhere/app");
    setAppFolderOverride(NativePath());
    EXPECT_EQ(appFolder(), "/data/home/Tarnbook");
}

TEST(Files, ProgramFolderHoldsTheRunningExecutable) {
    EXPECT_TRUE(fileExists(joinPath(programFolder(), "test_platform")));
}
