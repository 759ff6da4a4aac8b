#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "project/AboutInfo.h"
#include "project/SettingColours.h"
#include "project/Settings.h"
#include "project/startup/StartupHelpers.h"

namespace tarnbook::testing {
namespace {

using project::FirstStartEnvironment;

TEST(FirstStart, EmptyAppFolderGetsEveryFirstStartValueFoldersAndTemplates) {
    TempDir dir;
    const std::string app = dir.file("home/Tarnbook");
    platform::IniFile settings = project::loadSettingsFile(app);
    EXPECT_EQ(settings.path(), app + "/Quillet.INI");

    const auto r = project::prepareSettings(settings, testEnvironment(app));
    EXPECT_TRUE(r.firstStart);
    EXPECT_TRUE(platform::folderExists(app + "/PROJECT"));
    EXPECT_TRUE(platform::folderExists(app + "/TEMPLATE"));
    for (const char* name : project::kTemplateFiles)
        EXPECT_TRUE(platform::fileExists(app + "/TEMPLATE/" + name)) << name;

    // The first start writes the file itself; read back what is on disk.
    const platform::IniFile disk = readIni(app + "/Quillet.INI");
    const std::string t = app + "/TEMPLATE";
    EXPECT_EQ(disk.readString("SYSTEM", "PROJECT"), app + "/PROJECT");
    EXPECT_EQ(disk.readString("SYSTEM", "HHC"), "/opt/test/tarnbook-hhc");
    EXPECT_EQ(disk.readString("SYSTEM", "TEMPLATE"), t);
    EXPECT_EQ(disk.readString("SYSTEM", "EditHTML"), "test-editor");
    EXPECT_EQ(disk.readString("SYSTEM", "EditTXT"), "test-editor");
    EXPECT_EQ(disk.readString("SYSTEM", "DefHTML"), t + "/Default.HTML");
    EXPECT_EQ(disk.readString("SYSTEM", "DefCSS"), t + "/Default.CSS");
    EXPECT_EQ(disk.readString("SYSTEM", "ALERT1"), t + "/NotFound.HTML");
    EXPECT_EQ(disk.readString("SYSTEM", "ALERT2"), t + "/Remote.HTML");
    EXPECT_EQ(disk.readString("SYSTEM", "Prefix"), "HLP_IDH_");
    EXPECT_EQ(disk.readString("SYSTEM", "FontName"), "MS UI Gothic");
    EXPECT_EQ(disk.readInteger("SYSTEM", "FontSize", 0), 9);
    EXPECT_EQ(disk.readString("SYSTEM", "FontCol"), "clWindowText");
    EXPECT_EQ(disk.readString("SYSTEM", "BackCol"), "clWhite");
    EXPECT_EQ(disk.keyNames("FilterImport"),
              (std::vector<std::string>{".txt", ".eml", ".ico", ".htm", ".html", ".mht"}));
    EXPECT_EQ(disk.keyNames("FilterFolder"),
              (std::vector<std::string>{"_note", "tmp", "temp", "bak"}));
    EXPECT_TRUE(disk.readBool("FilterImport", ".mht"));

    EXPECT_EQ(disk.readInteger("TEMPLATE", "TOTAL", 0), 1);
    EXPECT_EQ(disk.readInteger("TEMPLATE", "DEFAULT", 0), 1);
    EXPECT_EQ(disk.readString("TEMPLATE1", "Name"), "Default");
    EXPECT_EQ(disk.readString("TEMPLATE1", "CSS"), t + "/Default.CSS");
    EXPECT_TRUE(disk.readBool("TEMPLATE1", "KeepPos"));
    EXPECT_TRUE(disk.readBool("TEMPLATE1", "BTView"));
    EXPECT_TRUE(disk.readBool("TEMPLATE1", "BTNext"));
    EXPECT_FALSE(disk.readBool("TEMPLATE1", "BTHomeURL", true));
    EXPECT_EQ(disk.readInteger("TEMPLATE1", "PosW", 0), 600);
    EXPECT_EQ(disk.readInteger("TEMPLATE1", "PosH", 0), 400);
    EXPECT_EQ(disk.readInteger("TEMPLATE1", "FontSize", 0), 10);
    EXPECT_TRUE(disk.readBool("TEMPLATE1", "FullTextSearch"));
    EXPECT_FALSE(disk.readBool("TEMPLATE1", "TabFavorite", true));

    EXPECT_EQ(settings.readInteger("SYSTEM", "Version", 0), 249);
}

TEST(FirstStart, ShippedPagesAreShiftJisAndLogStyleHasTheThreeClasses) {
    const std::string src = std::string(TARNBOOK_SOURCE_DIR) + "/data/template/";
    for (const char* name : {"Default.HTML", "NotFound.HTML", "Remote.HTML"}) {
        const std::string bytes = platform::readFile(src + name);
        EXPECT_NE(bytes.find("charset=Shift_JIS"), std::string::npos) << name;
        // Japanese text survives a round trip through the codec, so the bytes are CP932.
        EXPECT_EQ(platform::utf8ToCp932(platform::cp932ToUtf8(bytes)), bytes) << name;
        EXPECT_NE(platform::cp932ToUtf8(bytes).find("ページ"), std::string::npos) << name;
    }
    const std::string log = platform::readFile(src + "log.css");
    for (const char* cls : {".green", ".yellow", ".red"})
        EXPECT_NE(log.find(cls), std::string::npos) << cls;
}

TEST(FirstStart, SystemWithoutFilterImportGetsOnlyTheFilterKeys) {
    TempDir dir;
    const std::string app = dir.file("app");
    writeBytes(app + "/Quillet.INI",
               "[SYSTEM]\r\nPROJECT=/somewhere\r\n\r\n[FilterFolder]\r\nCVS=1\r\n\r\n");
    platform::IniFile settings = project::loadSettingsFile(app);
    const auto r = project::prepareSettings(settings, testEnvironment(app));

    EXPECT_FALSE(r.firstStart);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(settings.keyNames("FilterImport").size(), 6u);
    EXPECT_EQ(settings.keyNames("FilterFolder"), std::vector<std::string>{"CVS"});
    EXPECT_FALSE(settings.valueExists("SYSTEM", "HHC"));
    EXPECT_FALSE(settings.sectionExists("TEMPLATE1"));
    EXPECT_EQ(settings.readString("SYSTEM", "PROJECT"), "/somewhere");
    EXPECT_FALSE(platform::folderExists(app + "/PROJECT"));
    EXPECT_FALSE(platform::folderExists(app + "/TEMPLATE"));

    // A settings file that has everything is not changed by a later start.
    settings.save();
    platform::IniFile again = project::loadSettingsFile(app);
    EXPECT_FALSE(project::prepareSettings(again, testEnvironment(app)).changed);
}

TEST(FirstStart, SeedingKeepsTemplateFilesTheUserChanged) {
    TempDir dir;
    const std::string folder = dir.file("TEMPLATE");
    writeBytes(folder + "/Default.CSS", "body { color: red }");
    const int copied =
        project::seedTemplateFolder(folder, std::string(TARNBOOK_SOURCE_DIR) + "/data/template");
    EXPECT_EQ(copied, 4);
    EXPECT_EQ(readBytes(folder + "/Default.CSS"), "body { color: red }");
    EXPECT_EQ(project::seedTemplateFolder(dir.file("T2"), ""), 0);
    EXPECT_TRUE(platform::folderExists(dir.file("T2")));
}

TEST(FirstStart, CompilerIsTheDriverBesideTheProgramOnlyWhenItExists) {
    TempDir dir;
    const std::string beside = dir.file("tarnbook-hhc");
    EXPECT_NE(project::detectCompiler(dir.path()), beside);
    EXPECT_EQ(platform::fileNamePart(project::detectCompiler(dir.path())), "tarnbook-hhc");
    writeBytes(beside, "#!/bin/sh\nexit 0\n");
    ::chmod(beside.c_str(), 0755);
    EXPECT_EQ(project::detectCompiler(dir.path()), beside);
}

TEST(FirstStart, WindowAndCommandLineFindTheCompilerTheSameWay) {
    // A build tree: the program in gui/, the driver in the sibling folder hhc/.
    TempDir dir;
    const std::string program = dir.file("gui");
    const std::string driver = dir.file("hhc/tarnbook-hhc");
    const std::string custom = dir.file("mine/hhc.sh");
    for (const std::string& f : {driver, custom}) {
        writeBytes(f, "#!/bin/sh\nexit 0\n");
        ::chmod(f.c_str(), 0755);
    }
    platform::createFolders(program);
    EXPECT_EQ(project::detectCompiler(program), driver);
    const std::string sh = platform::findExecutable("sh");
    const struct {
        std::string setting, expected;
    } cases[] = {
        {"", driver},
        {" ", driver},
        {"tarnbook-hhc", driver},  // what an earlier first start stored
        {"/gone/bin/tarnbook-hhc", driver},
        {custom, custom},
        {"sh", sh},                          // a bare program name is looked up on PATH
        {"/gone/HHC.EXE", "/gone/HHC.EXE"},  // the build tells the author to check it
    };
    for (const auto& c : cases)
        EXPECT_EQ(project::resolveCompiler(c.setting, program), c.expected) << c.setting;
}

TEST(SettingColours, NamesAndNumbersInStoredOrder) {
    EXPECT_EQ(project::parseSettingColour("clWhite"), 0xFFFFFFu);
    EXPECT_EQ(project::parseSettingColour("CLBLUE"), 0x0000FFu);
    EXPECT_EQ(project::parseSettingColour("clWindowText"), 0x000000u);
    // Stored numbers hold blue in the high byte.
    EXPECT_EQ(project::parseSettingColour("$000000FF"), 0xFF0000u);
    EXPECT_EQ(project::parseSettingColour("16711680"), 0x0000FFu);
    EXPECT_FALSE(project::parseSettingColour("clNoSuch"));
    EXPECT_FALSE(project::parseSettingColour("-1"));
    EXPECT_EQ(project::settingColourOr("garbage", 0x123456), 0x123456u);

    EXPECT_EQ(project::settingColourText(0xFF0000), "clRed");
    EXPECT_EQ(project::settingColourText(0x123456), "$00563412");
    EXPECT_EQ(project::parseSettingColour(project::settingColourText(0x123456)), 0x123456u);
}

TEST(VersionStrings, KeysTitleAndAbout) {
    EXPECT_EQ(project::versionString(9), "Tarnbook");
    EXPECT_FALSE(project::versionString(10).empty());
    EXPECT_EQ(project::versionString(11, "none"), "none");
    EXPECT_EQ(project::versionString(42, "none"), "none");
    EXPECT_EQ(project::startupTitle(), "Tarnbook -Build " + project::versionString(10) + "-");
    const auto about = project::aboutInfo();
    EXPECT_EQ(about.build, "Build " + project::versionString(3));
    EXPECT_NE(about.copyright.find("Copyright"), std::string::npos);
}

}  // namespace
}  // namespace tarnbook::testing
