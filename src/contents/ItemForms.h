#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/ResourceRegistry.h"
#include "contents/TreeOps.h"
#include "project/Workspace.h"

// The item dialogs without their widgets: the new-heading and new-content dialogs, the item
// property dialog and the popup-text dialog. Each form holds the fields, their limits, the
// enable rules and what a change of a field sets off; the shell binds widgets to it. Texts
// are CP932 bytes unless a member says otherwise (the keywords are UTF-16).
namespace tarnbook::contents {

// Cuts CP932 text to at most `limit` bytes without splitting a double-byte character.
std::string limitText(std::string_view text, std::size_t limit);

// "指定無し" (CP932): the first entry of every anchor list, meaning no anchor.
const std::string& noAnchorEntry();

enum class AnchorSearch {
    NewItem,   // the new-item dialogs
    Property,  // the property dialog also knows <a class="anchor" name=...>
    PageLink,  // the link dialog: only the first "<a name=...>" of a line, in lower case
};

// The anchor names found in the lines of a page, in order, duplicates kept. Each line is
// converted to Shift_JIS first; for the item dialogs a line that is exactly "<a" joins the
// next one.
std::vector<std::string> anchorsInLines(const std::vector<std::string>& lines,
                                        AnchorSearch variant);

// The anchor box: the entries (entry 0 is "指定無し" once filled) and the chosen one.
class AnchorList {
  public:
    static constexpr std::size_t kLimit = 99;

    const std::vector<std::string>& entries() const { return entries_; }
    int chosen() const { return chosen_; }  // -1: nothing chosen
    void choose(int index);
    void clear();

    // Fills the list from the page `path`. When that is no existing file, nothing changes
    // and false comes back. The item dialogs cut names to the limit; a link needs them whole.
    bool search(std::string_view path, AnchorSearch variant);

    // Enter in the box: appends the typed text and chooses it, unless it is empty or equals
    // an entry already there.
    void addTyped(std::string_view text);

    // Chooses the entry equal to `anchor`, else entry 0.
    void chooseEqual(std::string_view anchor);

    // The chosen anchor; empty for entry 0 or no choice.
    std::string chosenAnchor() const;

  private:
    std::vector<std::string> entries_;
    int chosen_ = -1;
};

// Screen position of a dialog, kept in SYSTEM of the settings.
struct DialogPosition {
    int x = 100;
    int y = 100;
};

// The new-heading and new-content dialogs.
class NewItemForm {
  public:
    static constexpr std::size_t kPageLimit = 249;

    // The state on show: the position from the settings, the project's icon preference,
    // an empty anchor list, OK, AutoNew and SearchAnchor disabled.
    NewItemForm(project::Workspace& ws, ItemKind kind);

    ItemKind kind() const { return kind_; }
    bool heading() const { return kind_ == ItemKind::Heading; }
    // The title's byte limit; 0 when there is none (the content dialog).
    std::size_t titleLimit() const { return heading() ? 249 : 0; }
    // 4 heading icons (ImageIndex 0, 2, 4, 6) or 34 content icons (ImageIndex 8-41).
    int iconCount() const { return heading() ? 4 : 34; }
    static int imageIndexOfChoice(ItemKind kind, int choice);

    const std::string& title() const { return title_; }
    const std::string& page() const { return page_; }
    int iconChoice() const { return iconChoice_; }
    AnchorList& anchors() { return anchors_; }
    const AnchorList& anchors() const { return anchors_; }

    // Field changes, with their change handling (the texts are cut to the limits).
    void setTitle(std::string_view title);
    void setPage(std::string_view page);
    void setIconChoice(int choice);

    bool okEnabled() const;
    bool autoNewEnabled() const;
    bool searchAnchorEnabled() const { return searchEnabled_; }

    // Proposes a page named after the title in the resource folder. Returns true when the
    // page field's text should be selected (a file of that name exists and the settings
    // ask for the warning, which has been shown).
    bool autoNew();
    // The file chooser; a cancelled chooser changes nothing. True when a file was chosen.
    bool chooseFile();
    void searchAnchor();

    // What the chooser starts in and offers.
    std::string chooserFolder() const;
    std::string chooserFilter() const;

    // What the add commands read on OK.
    ItemForm result() const;

    DialogPosition position() const { return position_; }
    // Closing, however it happens: remembers the position in the settings.
    void storePosition(DialogPosition where);

  private:
    project::Workspace& ws_;
    ItemKind kind_;
    std::string title_;
    std::string page_;
    int iconChoice_ = 0;
    AnchorList anchors_;
    bool searchEnabled_ = false;
    DialogPosition position_;
};

// The item property dialog for one node.
class PropertyForm {
  public:
    static constexpr std::size_t kPageLimit = 249;
    static constexpr std::size_t kKeywordLimit = 488;  // UTF-16 units
    static constexpr std::size_t kIdLimit = 49;

    // Loads the fields from the node's record and sets the enable states.
    PropertyForm(project::Workspace& ws, project::TreeNode& node);

    bool heading() const { return itemType_ == project::TData::kHeading; }
    std::string itemTypeText() const;  // UTF-8: "ヘッダ" or "コンテンツ"
    int imageIndex() const { return imageIndex_; }

    const std::string& title() const { return title_; }
    const std::string& page() const { return page_; }
    const std::u16string& keyword() const { return keyword_; }
    const std::u16string& subKeyword() const { return subKeyword_; }
    bool subKeywordTicked() const { return subTicked_; }
    const std::string& contextId() const { return contextId_; }
    AnchorList& anchors() { return anchors_; }
    const AnchorList& anchors() const { return anchors_; }

    // Icon boxes: the choice (-1 none) and whether the box is enabled.
    int headingIcon() const { return headingIcon_; }
    int contentIcon() const { return contentIcon_; }
    bool headingIconEnabled() const { return heading(); }
    bool contentIconEnabled() const { return !heading(); }
    void setHeadingIcon(int choice);
    void setContentIcon(int choice);

    void setTitle(std::string_view title);
    void setPage(std::string_view page);
    void setKeyword(std::u16string_view keyword);
    void setSubKeyword(std::u16string_view subKeyword);
    void setSubKeywordTicked(bool ticked);
    void setContextId(std::string_view id);

    // Hints that follow the fields: text + "|" + text.
    std::string titleHint() const { return title_ + "|" + title_; }
    std::string pageHint() const { return page_ + "|" + page_; }

    // Enable and visibility states.
    bool keywordFieldsEnabled() const;  // EditKeyWord, EditKWsub, ClearKey, EditID
    bool subKeywordCheckEnabled() const;
    bool copyTitleEnabled() const { return subKeywordCheckEnabled(); }
    bool subKeywordVisible() const { return subTicked_; }
    bool okEnabled() const;

    // Buttons.
    void copyTitle();
    void clearKeyword();
    void toggleType();
    bool chooseFile();
    void searchAnchor();

    std::string chooserFolder() const;
    std::string chooserFilter() const;

    // OK: writes the fields into the node's record and view, copies a page from outside
    // into the resource folder, marks the project changed and refreshes the window.
    void accept(const authoring::CopyProgress& progress = {});
    // Cancel: the record keeps the kind and icon it had; only the window refreshes.
    void cancel();

    DialogPosition position() const { return position_; }
    void storePosition(DialogPosition where);

  private:
    void showKind();  // the type text and icon boxes from the kind and icon

    project::Workspace& ws_;
    project::TreeNode& node_;
    std::uint8_t itemType_;
    int imageIndex_;
    std::string title_;
    std::string page_;
    AnchorList anchors_;
    int headingIcon_ = -1;
    int contentIcon_ = -1;
    std::u16string keyword_;
    std::u16string subKeyword_;
    bool subTicked_ = false;
    std::string contextId_;
    DialogPosition position_;
};

// The popup-text dialog: only fields; the popup tag command reads them.
struct PopupForm {
    static constexpr std::size_t kTextLimit = 255;  // characters of the popup text
    std::string callText;                           // UTF-8: the text to click
    std::string popupText;
    std::string fontFamily = "Helvetica";
    int fontSize = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    void setPopupText(std::string_view utf8);
};

}  // namespace tarnbook::contents
