#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contents/GeneratedPages.h"
#include "contents/ItemForms.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::contents;
using project::TData;
using project::TreeNode;
using tarnbook::testing::readBytes;
using tarnbook::testing::WorkspaceFixture;
using tarnbook::testing::writeBytes;

namespace {

using Lines = std::vector<std::string>;

Lines newItemAnchors(const Lines& lines) {
    return anchorsInLines(lines, AnchorSearch::NewItem);
}
Lines propertyAnchors(const Lines& lines) {
    return anchorsInLines(lines, AnchorSearch::Property);
}

struct OpenProject : WorkspaceFixture {
    std::string res;
    explicit OpenProject(const std::string& extra = "Version=249\r\n") {
        EXPECT_TRUE(project::openProject(ws, makeProjectFile("P", extra)));
        res = ws.projectFolder() + "/_RESOURCE";
    }
    TreeNode* addNode(const TData& d) {
        auto n = std::make_unique<TreeNode>();
        n->data = d;
        n->syncViewFromData();
        TreeNode* placed = ws.tree.appendChild(nullptr, std::move(n));
        ws.tree.selectOnly(placed);
        ws.saved = true;
        return placed;
    }
};

TData content(const std::string& title, const std::string& html, int image = 8) {
    TData d;
    d.ItemType = TData::kContent;
    d.Title = title;
    d.HTML = html;
    d.ImageIndex = image;
    return d;
}

TData headingRecord(const std::string& title, int image = 0) {
    TData d;
    d.ItemType = TData::kHeading;
    d.Title = title;
    d.ImageIndex = image;
    return d;
}

const std::string kNone = platform::utf8ToCp932("指定無し");

}  // namespace

TEST(AnchorSearch, ReadsTheThreeLineForms) {
    // A name line is scanned lower-cased; an id line keeps its case.
    EXPECT_EQ(newItemAnchors({"<A NAME=Intro>"}), Lines{"intro"});
    EXPECT_EQ(newItemAnchors({"<p><a id=Top>"}), Lines{"Top"});
    EXPECT_EQ(newItemAnchors({"<a name=\"Sec\" title=\"Hello World\">text</a>"}),
              Lines{"sec title=hello world"});
    EXPECT_EQ(newItemAnchors({"<p>no anchors</p>", "<a href=\"x.htm\">x</a>"}), Lines{});
    // Single quotes stay; duplicates are kept.
    EXPECT_EQ(newItemAnchors({"<a name='q'>", "<a name=q>", "<a name=q>"}),
              (Lines{"'q'", "q", "q"}));
}

TEST(AnchorSearch, JoinsABareOpenerWithTheNextLine) {
    EXPECT_EQ(newItemAnchors({"<a", "name=n>"}), Lines{"n"});
    EXPECT_EQ(newItemAnchors({"<A", "id=Up>"}), Lines{"Up"});
    // Only a line that is exactly the opener joins.
    EXPECT_EQ(newItemAnchors({"<a ", "name=n>"}), Lines{});
    EXPECT_EQ(newItemAnchors({"x<a", "name=n>"}), Lines{});
}

TEST(AnchorSearch, ScansEveryOpenerOfALine) {
    EXPECT_EQ(newItemAnchors({"<a name=a></a><a name=b></a>"}), (Lines{"a", "b"}));
    // After a name anchor, id anchors that follow are taken too (lower-cased with the line).
    EXPECT_EQ(newItemAnchors({"<a name=a><a id=B>"}), (Lines{"a", "b"}));
    // The scan starts at the first name opener: an id anchor before it is skipped.
    EXPECT_EQ(newItemAnchors({"<a id=X><a name=Y>"}), Lines{"y"});
    EXPECT_EQ(newItemAnchors({"<a id=X></a> <a id=Z>"}), (Lines{"X", "Z"}));
}

TEST(AnchorSearch, TakesTheRestOfTheLineWhenTheOpenerIsNotClosed) {
    EXPECT_EQ(newItemAnchors({"<a name=\"long", "rest>"}), Lines{"long"});
    EXPECT_EQ(newItemAnchors({"<a id=\"Open"}), Lines{"Open"});
}

TEST(AnchorSearch, ClassAnchorFormOnlyInThePropertyDialog) {
    const Lines line{"<a class=\"anchor\" name=c>C</a>"};
    EXPECT_EQ(propertyAnchors(line), Lines{"c"});
    EXPECT_EQ(newItemAnchors(line), Lines{});
    EXPECT_EQ(propertyAnchors({"<A CLASS=\"anchor\" NAME=\"Up\"><a id=K>"}), (Lines{"K", "up"}));
    // A line with a plain name opener is read by the name scan alone.
    EXPECT_EQ(propertyAnchors({"<a name=x><a class=\"anchor\" name=y>"}), Lines{"x"});
}

TEST(AnchorSearch, ConvertsEachLineToShiftJisFirst) {
    // "目次" in EUC-JP inside an id anchor comes out as Shift_JIS bytes.
    EXPECT_EQ(newItemAnchors({"<a id=\"\xCC\xDC\xBC\xA1\">"}),
              Lines{platform::utf8ToCp932("目次")});
}

TEST(AnchorList, FillsFromAnExistingPageOnly) {
    tarnbook::testing::TempDir dir;
    const std::string page = dir.file("p.htm");
    writeBytes(page, "<html>\r\n<a name=one>\n<A ID=Two>\r\n");
    AnchorList list;
    list.addTyped("typed");
    EXPECT_FALSE(list.search(dir.file("missing.htm"), AnchorSearch::NewItem));
    EXPECT_EQ(list.entries(), (Lines{kNone, "typed"}));

    EXPECT_TRUE(list.search(page, AnchorSearch::NewItem));
    EXPECT_EQ(list.entries(), (Lines{kNone, "one", "Two"}));
    EXPECT_EQ(list.chosen(), 0);
    EXPECT_EQ(list.chosenAnchor(), "");
    list.choose(2);
    EXPECT_EQ(list.chosenAnchor(), "Two");
    list.chooseEqual("absent");
    EXPECT_EQ(list.chosen(), 0);
}

TEST(AnchorList, TypedEntriesAreAddedOnceAndChosen) {
    AnchorList list;
    list.addTyped("");
    EXPECT_TRUE(list.entries().empty());
    list.addTyped("top");
    EXPECT_EQ(list.entries(), (Lines{kNone, "top"}));
    EXPECT_EQ(list.chosenAnchor(), "top");
    list.choose(0);
    list.addTyped("top");  // equal to an entry: nothing added, choice kept
    EXPECT_EQ(list.entries().size(), 2u);
    EXPECT_EQ(list.chosen(), 0);
    list.addTyped(std::string(150, 'x'));
    EXPECT_EQ(list.chosenAnchor().size(), AnchorList::kLimit);
}

TEST(ItemFormText, FileNamesAndLimits) {
    // A double-byte character is never split by the cut.
    const std::string jp = platform::utf8ToCp932("あいう");  // 6 bytes
    EXPECT_EQ(limitText(jp, 5), platform::utf8ToCp932("あい"));
    EXPECT_EQ(limitText("abc", 5), "abc");
}

TEST(NewItemForm, HeadingNeedsATitleContentNeedsATitleAndAPage) {
    OpenProject f;
    NewItemForm h(f.ws, ItemKind::Heading);
    EXPECT_FALSE(h.okEnabled());
    EXPECT_FALSE(h.autoNewEnabled());
    EXPECT_FALSE(h.searchAnchorEnabled());
    h.setTitle("Chapter");
    EXPECT_TRUE(h.okEnabled());
    h.setPage("missing.htm");
    EXPECT_TRUE(h.okEnabled());
    EXPECT_FALSE(h.searchAnchorEnabled());
    h.setPage("");
    EXPECT_TRUE(h.okEnabled());
    h.setTitle("");
    EXPECT_FALSE(h.okEnabled());

    NewItemForm c(f.ws, ItemKind::Content);
    c.setTitle("Topic");
    EXPECT_FALSE(c.okEnabled());
    c.setPage("new.htm");
    EXPECT_TRUE(c.okEnabled());
    c.setTitle("");
    EXPECT_FALSE(c.okEnabled());
    c.setTitle("Topic");
    c.setPage("");
    EXPECT_FALSE(c.okEnabled());
}

TEST(NewItemForm, PageChangesSearchAndClearTheAnchors) {
    OpenProject f;
    writeBytes(f.res + "/a.htm", "<a name=x>\r\n");
    NewItemForm c(f.ws, ItemKind::Content);
    c.setTitle("T");
    c.setPage(f.res + "/a.htm");
    EXPECT_TRUE(c.searchAnchorEnabled());
    EXPECT_EQ(c.anchors().entries(), (Lines{kNone, "x"}));
    c.anchors().choose(1);
    EXPECT_EQ(c.result().anchor, "x");
    // A page that does not exist leaves the list as it was.
    c.setPage(f.res + "/a.htmx");
    EXPECT_FALSE(c.searchAnchorEnabled());
    EXPECT_EQ(c.anchors().entries().size(), 2u);
    c.setPage("");
    EXPECT_TRUE(c.anchors().entries().empty());
    EXPECT_EQ(c.result().anchor, "");
    EXPECT_EQ(c.page(), "");
    c.setPage(std::string(300, 'p'));
    EXPECT_EQ(c.page().size(), NewItemForm::kPageLimit);
}

TEST(NewItemForm, ShowsAtTheStoredPlaceWithTheProjectsIconPreference) {
    OpenProject f("Version=249\r\nNodeIcon=1\r\n");
    NewItemForm c(f.ws, ItemKind::Content);
    EXPECT_EQ(c.iconChoice(), 2);
    EXPECT_EQ(c.position().x, 100);
    EXPECT_EQ(c.position().y, 100);
    c.storePosition({30, 40});
    EXPECT_EQ(f.ws.settings.readInteger("SYSTEM", "NewHeadPosX"), 30);
    EXPECT_EQ(f.ws.settings.readInteger("SYSTEM", "NewHeadPosY"), 40);
    NewItemForm h(f.ws, ItemKind::Heading);
    EXPECT_EQ(h.position().x, 30);
    EXPECT_EQ(NewItemForm::imageIndexOfChoice(ItemKind::Heading, h.iconChoice()), 4);
    h.setIconChoice(7);  // out of the heading range: ignored
    EXPECT_EQ(h.iconChoice(), 2);
}

TEST(NewItemForm, AutoNewNamesThePageAfterTheTitle) {
    OpenProject f;
    NewItemForm c(f.ws, ItemKind::Content);
    c.setTitle("a/b");
    EXPECT_FALSE(c.autoNewEnabled());
    EXPECT_FALSE(c.autoNew());
    EXPECT_EQ(c.page(), "");

    c.setTitle("Intro");
    EXPECT_TRUE(c.autoNewEnabled());
    EXPECT_FALSE(c.autoNew());
    EXPECT_EQ(c.page(), f.res + "/Intro.html");
    EXPECT_TRUE(c.okEnabled());
    EXPECT_TRUE(f.prompts.shown.empty());  // no file of that name: no warning

    // With the warning switched on, an existing page of that name is reported.
    writeBytes(f.res + "/Intro.html", "<a name=s1>\r\n");
    EXPECT_FALSE(c.autoNew());  // setting off
    EXPECT_TRUE(f.prompts.shown.empty());
    f.ws.settings.writeBool("SYSTEM", "ConfirmAutoHTML", true);
    EXPECT_TRUE(c.autoNew());
    ASSERT_EQ(f.prompts.shown.size(), 1u);
    EXPECT_EQ(f.prompts.shown[0].text, "同名のHTMLファイルが存在します");
    EXPECT_EQ(c.anchors().entries(), (Lines{kNone, "s1"}));
    EXPECT_TRUE(c.searchAnchorEnabled());
}

TEST(NewItemForm, AutoNewPageIsWrittenByTheAddCommand) {
    OpenProject f;
    NewItemForm c(f.ws, ItemKind::Content);
    c.setTitle("Intro");
    c.autoNew();
    const ItemForm r = c.result();
    const NewPageWriter writer = [&](const std::string& path, const std::string& title) {
        return newPageFromTemplate(*f.ws.project, path, title);
    };
    TreeNode* n = addItem(f.ws, ItemKind::Content, &r, writer);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->data.HTML, "Intro.html");
    EXPECT_EQ(n->data.ImageIndex, 8);
    EXPECT_NE(readBytes(f.res + "/Intro.html").find("Intro"), std::string::npos);
}

TEST(NewItemForm, ChosenFileFillsPageTitleAndAnchors) {
    OpenProject f;
    tarnbook::testing::TempDir outside;
    writeBytes(outside.file("a.html"),
               "<html><head><title>Picked</title></head>\r\n<a name=m>\r\n");
    writeBytes(outside.file("b.HTML"), "<html><head><title>Upper</title></head>\r\n");

    NewItemForm c(f.ws, ItemKind::Content);
    f.prompts.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(c.chooseFile());
    f.prompts.fileAnswers.push_back(outside.file("a.html"));
    EXPECT_TRUE(c.chooseFile());
    EXPECT_EQ(c.page(), outside.file("a.html"));
    EXPECT_EQ(c.title(), "Picked");
    EXPECT_EQ(c.anchors().entries(), (Lines{kNone, "m"}));
    EXPECT_TRUE(c.okEnabled());

    // The new-item dialogs take a title only from a lower-case extension.
    NewItemForm h(f.ws, ItemKind::Heading);
    f.prompts.fileAnswers.push_back(outside.file("b.HTML"));
    EXPECT_TRUE(h.chooseFile());
    EXPECT_EQ(h.title(), "");
}

TEST(PropertyForm, FirstSetUpLoadsTheRecord) {
    OpenProject f;
    writeBytes(f.res + "/sub/p.htm", "<a name=one>\r\n<a class=\"anchor\" name=two>\r\n");
    TData d = content("Page", "sub\\p.htm", 20);
    d.Anchor = "two";
    d.KeyWord = u"key";
    d.SubKeyWord = u"sub";
    d.ContextID = "HLP_IDH_PAGE";
    TreeNode* n = f.addNode(d);

    PropertyForm p(f.ws, *n);
    EXPECT_EQ(p.itemTypeText(), "コンテンツ");
    EXPECT_FALSE(p.headingIconEnabled());
    EXPECT_EQ(p.headingIcon(), -1);
    EXPECT_EQ(p.contentIcon(), 12);
    EXPECT_EQ(p.title(), "Page");
    EXPECT_EQ(p.page(), f.res + "/sub/p.htm");
    EXPECT_EQ(p.anchors().entries(), (Lines{kNone, "one", "two"}));
    EXPECT_EQ(p.anchors().chosenAnchor(), "two");
    EXPECT_EQ(p.keyword(), u"key");
    EXPECT_TRUE(p.subKeywordTicked());
    EXPECT_EQ(p.subKeyword(), u"sub");
    EXPECT_EQ(p.contextId(), "HLP_IDH_PAGE");
    EXPECT_TRUE(p.okEnabled());
    EXPECT_EQ(p.titleHint(), "Page|Page");

    // A web-link node shows its address as stored.
    TreeNode* w = f.addNode(content("Web", "http://example.org/x", 12));
    PropertyForm pw(f.ws, *w);
    EXPECT_EQ(pw.page(), "http://example.org/x");
    EXPECT_TRUE(pw.anchors().entries().empty());
}

TEST(PropertyForm, EnableStatesFollowTitlePageAndKind) {
    OpenProject f;
    TreeNode* c = f.addNode(content("C", ""));
    PropertyForm pc(f.ws, *c);
    EXPECT_FALSE(pc.okEnabled());
    EXPECT_FALSE(pc.keywordFieldsEnabled());
    EXPECT_FALSE(pc.subKeywordVisible());
    // Choosing a page makes OK available at once.
    pc.setPage("new.htm");
    EXPECT_TRUE(pc.okEnabled());
    EXPECT_TRUE(pc.keywordFieldsEnabled());
    EXPECT_TRUE(pc.copyTitleEnabled());
    pc.setTitle("");
    EXPECT_FALSE(pc.okEnabled());
    EXPECT_FALSE(pc.copyTitleEnabled());
    EXPECT_TRUE(pc.keywordFieldsEnabled());

    TreeNode* h = f.addNode(headingRecord("H", 6));
    PropertyForm ph(f.ws, *h);
    EXPECT_EQ(ph.itemTypeText(), "ヘッダ");
    EXPECT_EQ(ph.headingIcon(), 3);
    EXPECT_EQ(ph.contentIcon(), -1);
    EXPECT_TRUE(ph.okEnabled());
    EXPECT_FALSE(ph.keywordFieldsEnabled());
}

TEST(PropertyForm, PrefixOnlyContextIdIsNotStored) {
    OpenProject f;
    TreeNode* n = f.addNode(content("C", "c.htm"));
    PropertyForm p(f.ws, *n);
    EXPECT_EQ(p.contextId(), "HLP_IDH_");
    p.accept();
    EXPECT_EQ(n->data.ContextID, "");
    EXPECT_FALSE(f.ws.saved);

    f.ws.settings.writeString("SYSTEM", "Prefix", "IDH_");
    PropertyForm q(f.ws, *n);
    EXPECT_EQ(q.contextId(), "IDH_");
    q.setContextId("IDH_INTRO");
    q.accept();
    EXPECT_EQ(n->data.ContextID, "IDH_INTRO");
    PropertyForm r(f.ws, *n);
    r.setContextId(std::string(80, 'I'));
    EXPECT_EQ(r.contextId().size(), PropertyForm::kIdLimit);
}

TEST(PropertyForm, MissingPageClearsTheAnchor) {
    OpenProject f;
    TData d = content("C", "gone.htm");
    d.Anchor = "sec";
    TreeNode* n = f.addNode(d);
    PropertyForm p(f.ws, *n);
    EXPECT_TRUE(p.anchors().entries().empty());
    p.accept();
    EXPECT_EQ(n->data.Anchor, "");
    EXPECT_EQ(n->data.HTML, "gone.htm");
}

TEST(PropertyForm, TypeButtonThenCancelLeavesKindAndIcon) {
    OpenProject f;
    TreeNode* n = f.addNode(headingRecord("H", 2));
    PropertyForm p(f.ws, *n);
    p.toggleType();
    EXPECT_EQ(p.itemTypeText(), "コンテンツ");
    EXPECT_EQ(p.contentIcon(), 0);
    EXPECT_FALSE(p.headingIconEnabled());
    p.cancel();
    EXPECT_TRUE(n->data.isHeading());
    EXPECT_EQ(n->data.ImageIndex, 2);
    EXPECT_EQ(n->imageIndex, 2);
    EXPECT_EQ(n->selectedIndex, 3);
    EXPECT_TRUE(f.ws.saved);
}

TEST(PropertyForm, TypeButtonThenOkChangesKindWithTheProjectsIcon) {
    OpenProject f("Version=249\r\nNodeIcon=1\r\n");
    writeBytes(f.res + "/c.htm", "x\r\n");
    TreeNode* n = f.addNode(content("C", "c.htm", 30));
    PropertyForm p(f.ws, *n);
    p.toggleType();
    EXPECT_EQ(p.headingIcon(), 2);
    p.accept();
    EXPECT_TRUE(n->data.isHeading());
    EXPECT_EQ(n->data.ImageIndex, 4);
    EXPECT_EQ(n->selectedIndex, 5);

    PropertyForm back(f.ws, *n);
    back.toggleType();
    back.accept();
    EXPECT_FALSE(n->data.isHeading());
    EXPECT_EQ(n->data.ImageIndex, 10);
    EXPECT_EQ(n->selectedIndex, 10);
}

TEST(PropertyForm, TitleEditKeepsTheChosenIcon) {
    OpenProject f;
    writeBytes(f.res + "/c.htm", "x\r\n");
    TreeNode* n = f.addNode(content("C", "c.htm", 8));
    PropertyForm p(f.ws, *n);
    p.setContentIcon(5);
    p.setTitle("Renamed");
    EXPECT_EQ(p.contentIcon(), 5);
    p.accept();
    EXPECT_EQ(n->data.ImageIndex, 13);
    EXPECT_EQ(n->caption, u"Renamed");
    EXPECT_EQ(n->data.Title, "Renamed");
}

TEST(PropertyForm, AcceptWritesKeywordsAnchorAndWebIcon) {
    OpenProject f;
    writeBytes(f.res + "/c.htm", "<a name=s>\r\n");
    TData d = content("C", "c.htm");
    d.KeyWord = u"old";
    d.SubKeyWord = u"oldsub";
    TreeNode* n = f.addNode(d);
    PropertyForm p(f.ws, *n);
    p.anchors().choose(1);
    p.copyTitle();
    EXPECT_EQ(p.keyword(), u"C");
    p.setSubKeywordTicked(false);  // an unticked sub-keyword is dropped
    p.accept();
    EXPECT_EQ(n->data.Anchor, "s");
    EXPECT_EQ(n->data.KeyWord, u"C");
    EXPECT_EQ(n->data.SubKeyWord, u"");

    PropertyForm q(f.ws, *n);
    q.clearKeyword();
    q.setPage("HTTP://example.org/");
    q.accept();
    EXPECT_EQ(n->data.KeyWord, u"");
    EXPECT_EQ(n->data.HTML, "HTTP://example.org/");
    EXPECT_EQ(n->data.ImageIndex, 12);
    EXPECT_EQ(n->selectedIndex, 12);

    // A web-link heading keeps showing its own icon when selected.
    TreeNode* h = f.addNode(headingRecord("H", 0));
    PropertyForm ph(f.ws, *h);
    ph.setPage("http://example.org/h");
    ph.accept();
    EXPECT_EQ(h->data.ImageIndex, 12);
    EXPECT_EQ(h->selectedIndex, 12);
}

TEST(PropertyForm, PageFromOutsideIsCopiedIntoTheResourceFolder) {
    OpenProject f;
    tarnbook::testing::TempDir outside;
    writeBytes(outside.file("doc.htm"), "<title>Doc</title>\r\n<a id=Top>\r\n");
    writeBytes(outside.file("doc_files/pic.gif"), "GIF");
    writeBytes(f.res + "/doc.htm", "taken");
    TreeNode* n = f.addNode(content("", ""));
    PropertyForm p(f.ws, *n);
    f.prompts.fileAnswers.push_back(outside.file("doc.htm"));
    ASSERT_TRUE(p.chooseFile());
    EXPECT_EQ(p.title(), "Doc");
    EXPECT_EQ(p.anchors().entries(), (Lines{kNone, "Top"}));
    p.anchors().choose(1);
    p.accept();
    EXPECT_EQ(n->data.HTML, "doc(1).htm");
    EXPECT_EQ(n->data.Anchor, "Top");
    EXPECT_EQ(readBytes(f.res + "/doc.htm"), "taken");
    EXPECT_EQ(readBytes(f.res + "/doc(1).htm").substr(0, 18), "<title>Doc</title>");
    EXPECT_TRUE(platform::fileExists(f.res + "/doc_files/pic.gif"));

    // A typed page that does not exist stays as typed; nothing is created.
    PropertyForm q(f.ws, *n);
    q.setPage("later.htm");
    q.accept();
    EXPECT_EQ(n->data.HTML, "later.htm");
    EXPECT_FALSE(platform::fileExists(f.res + "/later.htm"));
}

TEST(PropertyForm, PositionIsKeptInTheSettings) {
    OpenProject f;
    TreeNode* n = f.addNode(content("C", ""));
    PropertyForm p(f.ws, *n);
    EXPECT_EQ(p.position().x, 100);
    p.storePosition({7, 9});
    EXPECT_EQ(f.ws.settings.readInteger("SYSTEM", "PropPosX"), 7);
    EXPECT_EQ(f.ws.settings.readInteger("SYSTEM", "PropPosY"), 9);
    EXPECT_EQ(PropertyForm(f.ws, *n).position().y, 9);
}

TEST(PopupForm, PopupTextIsCutToItsLimitInCharacters) {
    PopupForm form;
    EXPECT_EQ(form.fontFamily, "Helvetica");
    EXPECT_EQ(form.fontSize, 12);
    std::string text;
    for (int i = 0; i < 300; ++i) text += "あ";
    form.setPopupText(text);
    EXPECT_EQ(platform::utf8ToUtf16(form.popupText).size(), PopupForm::kTextLimit);
}
