#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folderimport/FilterForms.h"

using namespace tarnbook;
using namespace tarnbook::folderimport;

namespace {

TEST(FilterForms, TheImportFilterRoundTripsThroughTheSettings) {
    platform::IniFile settings;
    settings.writeInteger("FilterFolder", "tmp", 1);
    settings.writeInteger("FilterFolder", "old", 0);
    settings.writeInteger("FilterImport", ".htm", 1);
    settings.writeInteger("FilterImport", ".xml", 0);
    ImportFilterForm form(settings);
    ASSERT_EQ(form.skipFolders().size(), 2u);
    EXPECT_TRUE(form.skipFolders()[0].checked);
    EXPECT_FALSE(form.skipFolders()[1].checked);
    ASSERT_EQ(form.droppable().size(), 8u);
    EXPECT_TRUE(form.droppable()[3].checked);  // .htm

    // Texts the settings file could not hold as a key of their own are refused.
    for (const char* bad : {"", "a=b", "x\ny", "[s]", ";c", "TMP"})
        EXPECT_FALSE(form.addSkipFolder(bad)) << bad;
    EXPECT_TRUE(form.addSkipFolder("cache"));
    EXPECT_TRUE(form.removeSkipFolder(0));
    EXPECT_FALSE(form.removeSkipFolder(5));
    form.skipFolders()[1].checked = true;  // cache
    form.droppable()[6].checked = true;    // .xml
    form.apply(settings);
    EXPECT_EQ(settings.keyNames("FilterFolder"), (std::vector<std::string>{"old", "cache"}));
    EXPECT_EQ(settings.readInteger("FilterFolder", "cache", -1), 1);
    EXPECT_EQ(settings.readInteger("FilterFolder", "old", -1), 0);
    EXPECT_EQ(settings.readInteger("FilterImport", ".xml", -1), 1);
    EXPECT_EQ(settings.readInteger("FilterImport", ".xhtml", -1), 0);
}

TEST(FilterForms, TheUrlFilterKeepsItsOrderAndRefusesDuplicates) {
    platform::IniFile settings;
    settings.writeString("URLFilter", "ads.example", "");
    UrlFilterForm form(settings);
    EXPECT_TRUE(form.add("http://tracker.test"));
    EXPECT_FALSE(form.add("ADS.example"));
    EXPECT_TRUE(form.add("b.example"));
    EXPECT_TRUE(form.remove(0));
    form.apply(settings);
    EXPECT_EQ(settings.keyNames("URLFilter"),
              (std::vector<std::string>{"http://tracker.test", "b.example"}));
    EXPECT_EQ(settings.readString("URLFilter", "b.example", "x"), "");
}

}  // namespace
