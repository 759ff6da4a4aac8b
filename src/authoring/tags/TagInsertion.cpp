#include "authoring/tags/TagInsertion.h"

#include "authoring/tags/ControlTagMarkup.h"
#include "platform/Cp932.h"

namespace tarnbook::authoring {

namespace {

void insertAt(ui::SourceEditor& editor, int position, const std::string& markup) {
    editor.setSelection(position, 0);
    editor.replaceSelection(markup);
}

// Keeps redrawing suspended for the whole edit, also when the editor throws.
class UpdateGuard {
  public:
    explicit UpdateGuard(ui::SourceEditor& editor) : editor_(editor) { editor_.beginUpdate(); }
    ~UpdateGuard() { editor_.endUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

  private:
    ui::SourceEditor& editor_;
};

}  // namespace

TagInsert popupInsert(const contents::PopupForm& form) {
    const TagFont font{platform::utf8ToCp932(form.fontFamily), form.fontSize};
    return {popupLinkTag(font, platform::utf8ToCp932(form.popupText),
                         platform::utf8ToCp932(form.callText)),
            TagPlacement::PopupLink, true};
}

std::optional<int> headEndPosition(const ui::SourceEditor& editor) {
    if (auto at = editor.find("</HEAD>", 0, true, false)) return at;
    return editor.find("</head>", 0, true, false);
}

bool hasPopupControlObject(const ui::SourceEditor& editor) {
    return platform::upperCaseSjis(editor.textBytes()).find(R"(<OBJECT ID="HHCTRLP")") !=
           std::string::npos;
}

bool insertTag(ui::SourceEditor& editor, const TagInsert& tag, const HighlightSettings& colours) {
    {
        UpdateGuard guard(editor);
        switch (tag.placement) {
            case TagPlacement::Caret:
                editor.replaceSelection(tag.markup);
                break;
            case TagPlacement::HeadEnd: {
                const std::optional<int> head = headEndPosition(editor);
                if (!head) return false;
                insertAt(editor, *head, tag.markup);
                break;
            }
            case TagPlacement::PopupLink: {
                if (!headEndPosition(editor)) return false;
                editor.replaceSelection(tag.markup);
                // The link may have gone in before the head end: look for it again.
                if (!hasPopupControlObject(editor))
                    if (const std::optional<int> head = headEndPosition(editor))
                        insertAt(editor, *head, popupControlObject());
                break;
            }
        }
    }
    if (tag.highlight) htmlTagPickUp(editor, colours);
    return true;
}

}  // namespace tarnbook::authoring
