#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/IniFile.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

using namespace tarnbook::platform;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;
using Lines = std::vector<std::string>;

TEST(IniFile, SectionsAndKeysIgnoreCase) {
    auto ini = IniFile::fromBytes("[Project]\r\nTitle=My Help\r\n");
    EXPECT_TRUE(ini.sectionExists("PROJECT"));
    EXPECT_TRUE(ini.valueExists("project", "TITLE"));
    EXPECT_EQ(ini.readString("pRoJeCt", "title"), "My Help");
    ini.writeString("PROJECT", "TITLE", "Other");
    EXPECT_EQ(ini.toBytes(), "[Project]\r\nTitle=Other\r\n\r\n");
    // Double-byte names compare byte for byte: 0x83 0x41 and 0x83 0x61 are different letters.
    ini.writeString("S", "\x83\x41", "1");
    EXPECT_FALSE(ini.valueExists("s", "\x83\x61"));
    EXPECT_TRUE(ini.valueExists("s", "\x83\x41"));
}

TEST(IniFile, ValueIsEverythingAfterTheFirstEquals) {
    auto ini = IniFile::fromBytes("[A]\n  Key  =a=b = c \nEmpty=\n");
    EXPECT_EQ(ini.readString("A", "Key"), "a=b = c ");
    EXPECT_EQ(ini.readString("A", "Empty", "def"), "");
    EXPECT_TRUE(ini.valueExists("A", "Empty"));
    EXPECT_EQ(ini.readString("A", "Missing", "def"), "def");
    EXPECT_EQ(ini.readString("Nope", "Key", "d2"), "d2");
    ini.writeString("A", "New", "x=y");
    EXPECT_EQ(IniFile::fromBytes(ini.toBytes()).readString("a", "new"), "x=y");
}

TEST(IniFile, DuplicateKeysFirstWinsAndAllAreKept) {
    auto ini = IniFile::fromBytes("[A]\r\nk=1\r\nK=2\r\n");
    EXPECT_EQ(ini.readString("A", "k"), "1");
    EXPECT_EQ(ini.keyNames("A"), Lines{"k"});
    ini.writeString("A", "k", "3");
    EXPECT_EQ(ini.toBytes(), "[A]\r\nk=3\r\nK=2\r\n\r\n");
    ini.eraseKey("a", "K");
    EXPECT_FALSE(ini.valueExists("A", "k"));
    EXPECT_EQ(ini.toBytes(), "[A]\r\n\r\n");
}

TEST(IniFile, WriteBackKeepsFirstCreationOrderAndLayout) {
    auto ini = IniFile::fromBytes(
        "\xEF\xBB\xBF; written by hand\n\n[B]\nb1=1\n; a comment = not a key\n\n\n[A]\na1=x\n"
        "[b]\nb2=2\n");
    ini.writeString("C", "c1", "c");
    ini.writeString("A", "a2", "y");
    ini.writeString("B", "b3", "3");
    EXPECT_EQ(ini.sectionNames(), (Lines{"B", "A", "C"}));
    EXPECT_EQ(ini.keyNames("b"), (Lines{"b1", "b2", "b3"}));
    EXPECT_FALSE(ini.valueExists("B", "; a comment "));
    const std::string expected =
        "; written by hand\r\n"
        "[B]\r\nb1=1\r\n; a comment = not a key\r\nb2=2\r\nb3=3\r\n\r\n"
        "[A]\r\na1=x\r\na2=y\r\n\r\n"
        "[C]\r\nc1=c\r\n\r\n";
    EXPECT_EQ(ini.toBytes(), expected);
    EXPECT_EQ(IniFile::fromBytes(expected).toBytes(), expected);  // stable
    EXPECT_EQ(ini.sectionLines("B"), (Lines{"b1=1", "; a comment = not a key", "b2=2", "b3=3"}));
}

TEST(IniFile, EraseKeyAndSection) {
    auto ini = IniFile::fromBytes("[A]\na=1\nb=2\n[B]\nc=3\n");
    ini.eraseKey("A", "A");
    ini.eraseKey("A", "missing");
    ini.eraseKey("Missing", "a");
    EXPECT_EQ(ini.keyNames("A"), Lines{"b"});
    ini.eraseSection("a");
    EXPECT_FALSE(ini.sectionExists("A"));
    EXPECT_EQ(ini.readString("A", "b", "gone"), "gone");
    // A section created again goes to the end.
    ini.writeString("A", "b", "4");
    EXPECT_EQ(ini.toBytes(), "[B]\r\nc=3\r\n\r\n[A]\r\nb=4\r\n\r\n");
}

TEST(IniFile, IntegersAndBooleans) {
    auto ini = IniFile::fromBytes(
        "[N]\ndec= -42 \nhex=$1F\nhex2=0x10\nplus=+7\nbad=12a\nempty=\nbig=99999999999\n"
        "t=1\nf=0\nother=5\nword=yes\n");
    EXPECT_EQ(ini.readInteger("N", "dec"), -42);
    EXPECT_EQ(ini.readInteger("N", "hex"), 31);
    EXPECT_EQ(ini.readInteger("N", "hex2"), 16);
    EXPECT_EQ(ini.readInteger("N", "plus"), 7);
    EXPECT_EQ(ini.readInteger("N", "bad", 9), 9);
    EXPECT_EQ(ini.readInteger("N", "empty", 9), 9);
    EXPECT_EQ(ini.readInteger("N", "big", 9), 9);
    EXPECT_EQ(ini.readInteger("N", "missing", 5), 5);
    EXPECT_TRUE(ini.readBool("N", "t"));
    EXPECT_FALSE(ini.readBool("N", "f", true));
    EXPECT_TRUE(ini.readBool("N", "other"));
    EXPECT_TRUE(ini.readBool("N", "word", true));
    EXPECT_FALSE(ini.readBool("N", "word", false));
    EXPECT_TRUE(ini.readBool("N", "missing", true));

    ini.writeBool("W", "on", true);
    ini.writeBool("W", "off", false);
    ini.writeInteger("W", "n", -5);
    EXPECT_EQ(ini.sectionLines("W"), (Lines{"on=1", "off=0", "n=-5"}));

    long long v = 0;
    EXPECT_TRUE(IniFile::parseInteger("-9223372036854775808", &v));
    EXPECT_EQ(v, LLONG_MIN);
    EXPECT_FALSE(IniFile::parseInteger("9223372036854775808", &v));
    EXPECT_FALSE(IniFile::parseInteger("-", &v));
    EXPECT_FALSE(IniFile::parseInteger("$", &v));
    EXPECT_FALSE(IniFile::parseInteger("1 2", &v));
}

TEST(IniFile, LineBreaksInValuesCannotSplitTheFile) {
    IniFile ini;
    ini.writeString("A", "k", "one\r\n[B]\r\nx=1");
    auto back = IniFile::fromBytes(ini.toBytes());
    EXPECT_FALSE(back.sectionExists("B"));
    EXPECT_EQ(back.readString("A", "k"), "one  [B]  x=1");
}

TEST(IniFile, LoadAndSave) {
    TempDir dir;
    auto absent = IniFile::load(dir.file("none.ini"));
    EXPECT_TRUE(absent.sectionNames().empty());
    EXPECT_EQ(absent.path(), dir.file("none.ini"));

    writeBytes(dir.file("Settings.INI"), "[Main]\nWidth=640\n");
    auto ini = IniFile::load(dir.file("settings.ini"));
    EXPECT_EQ(ini.readInteger("main", "width"), 640);
    ini.writeInteger("Main", "Height", 480);
    ini.save();
    EXPECT_EQ(readBytes(dir.file("Settings.INI")), "[Main]\r\nWidth=640\r\nHeight=480\r\n\r\n");
    EXPECT_THROW(IniFile::load(dir.path()), IoError);  // a folder is not a readable file
}

TEST(IniFile, NamesTheFileCannotHoldAreNotWritten) {
    IniFile ini;
    ini.writeString("A", "a=b", "1");
    ini.writeString("A", ";comment", "1");
    ini.writeString("A", "[B", "1");
    ini.writeString("A", "  ", "1");
    ini.writeString("A\r\n[C]", "k", "1");
    EXPECT_EQ(ini.toBytes(), "");
    // Names are trimmed alike when written and looked up; a ']' that is a trail byte stays.
    ini.writeString(" \x83\x5D ", " k ", "v");
    ini.writeString("\x83", "k", "lone lead");  // "[\x83]" must not pair the lead with ']'
    auto back = IniFile::fromBytes(ini.toBytes());
    EXPECT_EQ(back.sectionNames(), (Lines{"\x83\x5D", "\x83"}));
    EXPECT_EQ(back.readString("\x83\x5D", "k"), "v");
    EXPECT_EQ(back.readString("\x83", "k"), "lone lead");
}
