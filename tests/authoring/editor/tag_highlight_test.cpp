#include <gtest/gtest.h>

#include "authoring/TagHighlight.h"
#include "support/Fakes.h"

using namespace tarnbook;
using authoring::findTagSpans;
using authoring::HighlightSettings;
using authoring::TagSpan;

TEST(TagHighlight, ObjectsAreFoundWithoutRegardToCaseAndScanContinuesAfterTheClose) {
    const std::string t = "a<object x>b</object>c<OBJECT>d</OBJECT>";
    const auto spans = findTagSpans(t, HighlightSettings{});
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0], (TagSpan{1, 20}));
    EXPECT_EQ(t.substr(spans[1].start, spans[1].length), "<OBJECT>d</OBJECT>");
}

TEST(TagHighlight, KindsFollowTheirSettingsInOrderAndAMissingCloseRunsToTheEnd) {
    const std::string t = "<A NAME=\"x\">t</a> <a href=\"p.htm\">link</A> <object>open";
    HighlightSettings s;
    s.anchors = true;
    s.links = true;
    const auto spans = findTagSpans(t, s);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(t.substr(spans[0].start), "<object>open");  // objects first, unclosed: to the end
    EXPECT_EQ(t.substr(spans[1].start, spans[1].length), "<A NAME=\"x\">");
    EXPECT_EQ(t.substr(spans[2].start, spans[2].length), "<a href=\"p.htm\">link</A>");

    s.objects = s.anchors = s.links = false;
    EXPECT_TRUE(findTagSpans(t, s).empty());
}

TEST(TagHighlight, DoubleByteTrailBytesNeverStartAMatch) {
    // "ソ" is 0x83 0x5C; the upper-casing must not turn trail bytes into "<OBJECT".
    const std::string t = "\x83\x5C<object></object>";
    const auto spans = findTagSpans(t, HighlightSettings{});
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].start, 2u);
}

TEST(TagHighlight, EditorPositionsCountCharactersAndLineBreaksOnce) {
    const std::string t = "\x82\xA0\r\nx\ny";  // "あ" CR LF "x" LF "y"
    const auto pos = authoring::editorPositions(t);
    EXPECT_EQ(pos[2], 1);  // after the double-byte character
    EXPECT_EQ(pos[4], 2);  // CR LF is one break
    EXPECT_EQ(pos[7], 5);
}

TEST(TagHighlight, PickUpColoursSpansLastFirstAndKeepsTheModifiedFlag) {
    tarnbook::testing::FakeEditor ed;
    ed.setTextBytes("<object>a</object> <object>b</object>");
    for (bool modified : {false, true}) {
        ed.setModified(modified);
        ed.colours.clear();
        HighlightSettings s;
        s.spanRgb = 0x123456;
        authoring::htmlTagPickUp(ed, s);
        EXPECT_EQ(ed.modified(), modified);
        ASSERT_EQ(ed.colours.size(), 2u);
        EXPECT_EQ(ed.colours[0].start, 19);
        EXPECT_EQ(ed.colours[1].start, 0);
        EXPECT_EQ(ed.colours[1].length, 18);
        EXPECT_TRUE(ed.colours[1].bold);
        EXPECT_EQ(ed.colours[1].rgb, 0x123456u);
    }
}

TEST(TagHighlight, ColourSettingsAcceptNamesAndBgrNumbers) {
    EXPECT_EQ(authoring::parseColourSetting("clBlue", 0), 0x0000FFu);
    EXPECT_EQ(authoring::parseColourSetting("CLWINDOWTEXT", 7), 0x000000u);
    EXPECT_EQ(authoring::parseColourSetting("$000080FF", 0), 0xFF8000u);
    EXPECT_EQ(authoring::parseColourSetting("255", 0), 0xFF0000u);
    EXPECT_EQ(authoring::parseColourSetting("nonsense", 42), 42u);
}
