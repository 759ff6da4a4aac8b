#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "project/TemplateFields.h"

namespace tarnbook::ui {
class Prompts;
}

namespace tarnbook::project {

class Workspace;

// The project properties dialog without its widgets: every field of section XHP, the page
// lists, the merge list, the map/popup/alias files, the icon reset, and what OK writes.
// Texts are CP932 as stored; number fields are text as typed.
class ProjectPropertyForm {
  public:
    // One entry of the four page lists; entry i stands for contents node i in tree order.
    struct PageEntry {
        bool separator = true;  // the node has no page of its own (none, or a web address)
        std::string title;      // the node's title ("-----" for a separator)
        std::string html;       // the node's page, relative to the resource folder
    };
    enum class PageList { Default, Home, Jump1, Jump2 };
    enum class IconStyle { WinHelp, HtmlHelp };
    // A project file picked for one of the three "use" check boxes.
    enum class LinkedFile { Map, Popup, Alias };

    static ProjectPropertyForm load(const Workspace& ws);

    std::string caption() const;  // "[ Name ] のプロパティ"

    // The fields shared with project templates (window, toolbar, tabs, behaviour, font,
    // language, page templates, import and completion options).
    TemplateFields fields;
    std::string helpName;
    std::string fileName;  // without ".chm"
    std::string jump1Label, jump2Label;
    std::array<bool, 3> useFile{};          // UseMap, UsePopup, UseUserAlias
    std::array<std::string, 3> linkedFile;  // bare file names in the project folder

    const std::vector<PageEntry>& pageEntries() const { return pages_; }
    int pageSelection(PageList list) const { return pageSelection_[index(list)]; }
    void selectPage(PageList list, int entry);

    const std::vector<std::string>& mergeFiles() const { return merges_; }
    bool mergeListEnabled() const { return !merges_.empty(); }
    // "追加": refuses files in the project folder and files without their .hhc; copies both
    // into the project folder unless already there. Returns whether the file was added.
    bool addMergeFile(ui::Prompts& prompts, const std::string& path);
    // "削除": removes the given list rows (the copies in the project folder stay).
    void removeMergeFiles(std::vector<int> rows);

    // The map, popup-text and alias pickers: copy the chosen file into the project folder
    // and show its bare name. A different file of that name already there is replaced only
    // when the author agrees. Returns whether the field changed.
    bool chooseLinkedFile(ui::Prompts& prompts, LinkedFile which);
    // "実行": remembered and applied to the tree only by OK.
    void resetIcons(IconStyle style) { iconReset_ = style; }
    std::optional<IconStyle> pendingIconReset() const { return iconReset_; }

    bool okEnabled() const { return !fileName.empty(); }
    // The first field that cannot be stored, as a message naming it; nothing when all can.
    std::optional<std::string> invalidField() const;
    // OK: checks every field first and writes nothing when one is invalid (the message is
    // shown and false returned, the dialog stays open). Otherwise writes section XHP, the
    // project file to disk, refreshes the merge copies and applies a pending icon reset.
    bool accept(Workspace& ws) const;

  private:
    static std::size_t index(PageList list) { return static_cast<std::size_t>(list); }
    int preselect(const std::string& stored) const;
    std::string pageValue(PageList list, const std::string& standardPage) const;
    void writeMergeFiles(Workspace& ws) const;
    void applyIconReset(Workspace& ws) const;

    std::string name_;
    std::string projectFolder_;
    std::vector<PageEntry> pages_;
    std::array<int, 4> pageSelection_{-1, -1, -1, -1};
    std::vector<std::string> merges_;
    std::optional<IconStyle> iconReset_;
};

// The icon a node gets from a reset: parents 0 or 4, leaves 8 or 10.
int resetIconFor(ProjectPropertyForm::IconStyle style, bool hasChildren);

}  // namespace tarnbook::project
