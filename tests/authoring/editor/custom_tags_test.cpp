#include <gtest/gtest.h>

#include "authoring/CustomTags.h"

using namespace tarnbook::authoring;

TEST(CustomTags, FieldsSplitOutsideQuotesKeepQuotesAndDropEmptyOnes) {
    EXPECT_EQ(splitCustomTagFields("<a href=\"x,y\">,caption,,third"),
              (std::vector<std::string>{"<a href=\"x,y\">", "caption", "third"}));
    EXPECT_EQ(splitCustomTagFields("'a,b',c"), (std::vector<std::string>{"'a,b'", "c"}));
    EXPECT_TRUE(splitCustomTagFields(",,").empty());
}

TEST(CustomTags, GroupLinesTakeTagFirstAndLooseLinesCaptionFirst) {
    const CustomTagMenu m = parseCustomTags(
        "<hr>,Rule\r\nsolo\r\n\r\n*Group one\r\n<b>,\"Bold\" text\r\n<i>\r\n*Empty\r\n");
    ASSERT_EQ(m.loose.size(), 2u);
    EXPECT_EQ(m.loose[0], (CustomTag{"<hr>", "Rule"}));  // caption "<hr>", inserts "Rule"
    EXPECT_EQ(m.loose[1], (CustomTag{"solo", "solo"}));
    ASSERT_EQ(m.groups.size(), 2u);
    EXPECT_EQ(m.groups[0].caption, "Group one");
    ASSERT_EQ(m.groups[0].tags.size(), 2u);
    EXPECT_EQ(m.groups[0].tags[0], (CustomTag{"Bold text", "<b>"}));
    EXPECT_EQ(m.groups[0].tags[1], (CustomTag{"<i>", "<i>"}));
    EXPECT_TRUE(m.groups[1].tags.empty());
}

TEST(CustomTags, AMissingFileGivesAnEmptyMenu) {
    const CustomTagMenu m = loadCustomTags("/nonexistent/custom.txt");
    EXPECT_TRUE(m.loose.empty());
    EXPECT_TRUE(m.groups.empty());
}
