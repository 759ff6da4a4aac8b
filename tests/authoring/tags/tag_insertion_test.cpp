#include <gtest/gtest.h>

#include <string>

#include "authoring/tags/ControlTagMarkup.h"
#include "authoring/tags/TagInsertion.h"
#include "support/Fakes.h"

using namespace tarnbook;
using namespace tarnbook::authoring;
using tarnbook::testing::FakeEditor;

namespace {

struct Row {
    const char* name;
    const char* page;
    int selStart, selLength;
    TagPlacement placement;
    const char* markup;
    bool inserted;
    const char* result;
};

}  // namespace

TEST(TagInsertion, SelectionOrHeadEnd) {
    const Row rows[] = {
        {"replaces the selection", "<p>old text</p>", 3, 3, TagPlacement::Caret, "<X>", true,
         "<p><X> text</p>"},
        {"inserts at the caret", "<p></p>", 3, 0, TagPlacement::Caret, "<X>", true, "<p><X></p>"},
        {"upper-case head end", "<HEAD><title>t</title></HEAD><body></body>", 30, 0,
         TagPlacement::HeadEnd, "<K>", true, "<HEAD><title>t</title><K></HEAD><body></body>"},
        {"upper case wins over an earlier lower case", "<head></head><p></HEAD>", 0, 0,
         TagPlacement::HeadEnd, "<K>", true, "<head></head><p><K></HEAD>"},
        {"only a lower-case head end", "<head></head>body", 0, 0, TagPlacement::HeadEnd, "<K>",
         true, "<head><K></head>body"},
        {"mixed case is no head end", "<Head></Head>body", 0, 0, TagPlacement::HeadEnd, "<K>",
         false, "<Head></Head>body"},
        {"no head at all", "<p>body</p>", 2, 0, TagPlacement::HeadEnd, "<K>", false, "<p>body</p>"},
        {"popup link needs a head end", "<Head></Head><p></p>", 16, 0, TagPlacement::PopupLink,
         "<L>", false, "<Head></Head><p></p>"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FakeEditor editor;
        editor.setTextBytes(r.page);
        editor.setSelection(r.selStart, r.selLength);
        EXPECT_EQ(insertTag(editor, {r.markup, r.placement, true}, HighlightSettings{}),
                  r.inserted);
        EXPECT_EQ(editor.text, r.result);
        EXPECT_EQ(editor.modified(), r.inserted);
    }
}

TEST(TagInsertion, OnePopupObjectPerPageHoweverManyLinks) {
    FakeEditor editor;
    editor.setTextBytes("<HEAD></HEAD><p></p>");
    editor.setSelection(16, 0);
    ASSERT_TRUE(insertTag(editor, {"<L1>", TagPlacement::PopupLink, true}, HighlightSettings{}));
    EXPECT_EQ(editor.text, "<HEAD>" + popupControlObject() + "</HEAD><p><L1></p>");

    // A second link, this time before the head end: the object is not repeated.
    editor.setSelection(6, 0);
    ASSERT_TRUE(insertTag(editor, {"<L2>", TagPlacement::PopupLink, true}, HighlightSettings{}));
    EXPECT_EQ(editor.text, "<HEAD><L2>" + popupControlObject() + "</HEAD><p><L1></p>");

    // An object written by hand in another letter case counts as well.
    editor.setTextBytes("<head><object ID=\"HHCTRLP\"></object></head>");
    editor.setSelection(0, 0);
    ASSERT_TRUE(insertTag(editor, {"<L3>", TagPlacement::PopupLink, true}, HighlightSettings{}));
    EXPECT_EQ(editor.text, "<L3><head><object ID=\"HHCTRLP\"></object></head>");
}

TEST(TagInsertion, HighlightingFollowsUnlessTheCommandSkipsIt) {
    const std::string page = "<HEAD></HEAD><OBJECT a></OBJECT>";
    for (bool highlight : {true, false}) {
        SCOPED_TRACE(highlight);
        FakeEditor editor;
        editor.setTextBytes(page);
        editor.setSelection(0, 0);
        insertTag(editor, {"<p>", TagPlacement::Caret, highlight}, HighlightSettings{});
        EXPECT_EQ(editor.colours.size(), highlight ? 1u : 0u);
        // Highlighting never clears the flag the insertion set.
        EXPECT_TRUE(editor.modified());
    }
}
