#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "project/RecentProjects.h"
#include "project/startup/StartupHelpers.h"

namespace tarnbook::testing {
namespace {

using project::RecentProjects;

struct RecentFixture : ::testing::Test {
    TempDir dir;
    std::string settingsPath = dir.file("Quillet.INI");

    // An existing project file, named the way callers hand it in: upper-cased.
    std::string project(const std::string& name) {
        const std::string path = dir.file("p/" + name + "/" + name + ".XHP");
        writeBytes(path, "[XHP]\r\n");
        return platform::upperCaseSjis(path);
    }
    std::vector<std::string> storedKeys() {
        return readIni(settingsPath).keyNames(RecentProjects::kSection);
    }
    std::string stored(int n) {
        return readIni(settingsPath)
            .readString(RecentProjects::kSection, "FileName" + std::to_string(n));
    }
};

TEST_F(RecentFixture, SeventhProjectDropsTheOldestAndSixKeysAreStored) {
    RecentProjects r;
    r.attach(settingsPath);
    std::vector<std::string> p;
    for (int i = 1; i <= 7; ++i) {
        p.push_back(project("P" + std::to_string(i)));
        r.add(p.back());
        r.store();
        EXPECT_EQ(storedKeys().size(), 6u) << "after store " << i;
    }
    EXPECT_EQ(r.names()[0], p[6]);
    EXPECT_EQ(r.names()[5], p[1]);
    EXPECT_EQ(stored(1), p[6]);
    EXPECT_EQ(stored(6), p[1]);
    EXPECT_EQ(r.entrySlots(), 6);
}

TEST_F(RecentFixture, ReopeningTheThirdMovesItToTheHeadOthersKeepOrder) {
    RecentProjects r;
    r.attach(settingsPath);
    const std::string a = project("A"), b = project("B"), c = project("C"), d = project("D");
    for (const auto& x : {a, b, c, d}) r.add(x);  // head: D C B A
    r.add(b);
    r.store();
    EXPECT_EQ(r.menuEntries(), (std::vector<std::string>{b, d, c, a}));
    EXPECT_EQ(stored(1), b);
    EXPECT_EQ(stored(4), a);
    EXPECT_EQ(stored(5), "");
    EXPECT_EQ(storedKeys().size(), 6u);

    // The same project with Windows separators is the same entry: it moves, never doubles.
    std::string windowsForm = c;
    std::replace(windowsForm.begin(), windowsForm.end(), '/', '\\');
    r.add(windowsForm);
    EXPECT_EQ(r.menuEntries(), (std::vector<std::string>{windowsForm, b, d, a}));
    // No slot is made for a name already listed.
    EXPECT_EQ(r.entrySlots(), 4);
}

TEST_F(RecentFixture, SeparatorAppearsWithTheFirstNameAndNothingHappensBeforeAttach) {
    RecentProjects r;
    r.add(project("A"));
    EXPECT_TRUE(r.names()[0].empty());
    r.attach(settingsPath);
    EXPECT_FALSE(r.hasSeparator());
    int changes = 0;
    r.onMenuChanged = [&] { ++changes; };
    r.add("");
    EXPECT_FALSE(r.hasSeparator());
    r.add(project("A"));
    EXPECT_TRUE(r.hasSeparator());
    EXPECT_EQ(changes, 1);
}

TEST_F(RecentFixture, NameOfAGoneFileDisappearsAtTheNextRefresh) {
    RecentProjects r;
    r.attach(settingsPath);
    const std::string a = project("A"), b = project("B");
    r.add(a);
    r.add(b);
    ASSERT_TRUE(platform::deleteFile(a));
    EXPECT_EQ(r.menuEntries().size(), 2u);  // not yet refreshed
    r.add(project("C"));
    EXPECT_EQ(r.menuEntries(), (std::vector<std::string>{project("C"), b}));
    r.store();
    EXPECT_EQ(stored(3), "");
}

TEST_F(RecentFixture, LoadPutsFileName1AtTheHeadAndSkipsGoneFiles) {
    const std::string a = project("A"), b = project("B");
    writeBytes(settingsPath, "[KeepFileNames]\r\nFileName1=" + a + "\r\nFileName2=" +
                                 dir.file("GONE.XHP") + "\r\nFileName3=" + b + "\r\n");
    RecentProjects r;
    r.attach(settingsPath);
    EXPECT_EQ(r.menuEntries(), (std::vector<std::string>{a, b}));
    // The upper-cased stored form still names the file on a case-sensitive file system.
    EXPECT_NE(a, dir.file("p/A/A.XHP"));
    EXPECT_TRUE(platform::fileExists(a));
}

TEST_F(RecentFixture, WholeRewritesOfTheSettingsNeverBringBackAStaleList) {
    platform::IniFile settings = platform::IniFile::load(settingsPath);
    settings.setPath(settingsPath);
    settings.writeString("SYSTEM", "PROJECT", "/p");
    settings.save();

    RecentProjects r;
    r.attach(settingsPath, &settings);
    const std::string a = project("A");
    r.add(a);
    r.store();
    // The settings object rewrites the whole file after the list was stored.
    settings.writeInteger("SYSTEM", "BaseFSize", 2);
    settings.save();
    EXPECT_EQ(stored(1), a);
    EXPECT_EQ(readIni(settingsPath).readInteger("SYSTEM", "BaseFSize", 0), 2);

    // The final store runs after the settings' last write and drops gone files.
    const std::string b = project("B");
    r.add(b);
    platform::deleteFile(a);
    r.storeFinal();
    EXPECT_EQ(stored(1), b);
    EXPECT_EQ(stored(2), "");
    EXPECT_EQ(readIni(settingsPath).readString("SYSTEM", "PROJECT"), "/p");
}

TEST_F(RecentFixture, DropDownReadsTheFileWithoutLosingUnsavedSettings) {
    platform::IniFile settings;
    settings.setPath(settingsPath);
    settings.writeInteger("SYSTEM", "BaseFSize", 1);  // in memory only
    const std::string a = project("A"), b = project("B");
    // Another writer put the section into the file.
    writeBytes(settingsPath, "[KeepFileNames]\r\nFileName1=" + b + "\r\nFileName2=" +
                                 dir.file("GONE.XHP") + "\r\nFileName3=" + a + "\r\n");
    EXPECT_EQ(RecentProjects::dropDownEntries(settings), (std::vector<std::string>{b, a}));
    EXPECT_EQ(settings.readInteger("SYSTEM", "BaseFSize", 0), 1);
    EXPECT_EQ(settings.readString(RecentProjects::kSection, "FileName1"), b);
}

}  // namespace
}  // namespace tarnbook::testing
