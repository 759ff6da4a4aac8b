#include "authoring/tags/ButtonTagForms.h"

#include "authoring/ResourceRegistry.h"
#include "authoring/tags/TagFiles.h"
#include "contents/ItemForms.h"
#include "platform/Cp932.h"

namespace tarnbook::authoring {

ButtonFaceForm::ButtonFaceForm(project::Workspace& ws, std::string presetText) : ws_(ws) {
    face_.text = std::move(presetText);
}

bool ButtonFaceForm::ready() const {
    switch (face_.style) {
        case ButtonStyle::Text:
            return !face_.text.empty();
        case ButtonStyle::Icon:
            return !face_.icon.empty();
        case ButtonStyle::Shortcut:
            break;
    }
    return true;
}

bool ButtonFaceForm::chooseIcon() {
    const auto chosen = ws_.prompts.chooseOpenFile("開く", iconFilter(), resourceFolder(ws_));
    if (!chosen || chosen->empty()) return false;
    face_.icon = bringIntoResourceFolder(ws_, *chosen);
    return true;
}

std::string ShortcutForm::markup() const {
    return shortcutTag(face.face(), program, parameters, font);
}

RelatedTopicsForm::RelatedTopicsForm(project::Workspace& ws)
    : face(ws, platform::utf8ToCp932("関連トピック")) {
    for (PageRef& p : projectPages(ws)) topics_.push_back({std::move(p), false});
}

void RelatedTopicsForm::setTicked(std::size_t index, bool ticked) {
    if (index < topics_.size()) topics_[index].ticked = ticked;
}

bool RelatedTopicsForm::okEnabled() const {
    bool any = false;
    for (const Topic& t : topics_) any = any || t.ticked;
    return any && face.ready();
}

std::string RelatedTopicsForm::markup() const {
    std::vector<PageRef> ticked;
    for (const Topic& t : topics_)
        if (t.ticked) ticked.push_back(t.page);
    return relatedTopicsTag(ticked, popupMenu, face.face(), font);
}

LinkButtonForm::LinkButtonForm(project::Workspace& ws, LinkKind kind)
    : face(ws), kind_(kind), buttonText_(u"环境设定") {}

std::string LinkButtonForm::caption() const {
    return kind_ == LinkKind::A ? "Aリンク参照タグ挿入" : "Kリンク参照タグ挿入";
}

void LinkButtonForm::setKeyword(std::string_view keyword) {
    keyword_ = contents::limitText(keyword, kKeywordLimit);
}

bool LinkButtonForm::okEnabled() const {
    // A button that looks for no keyword finds nothing: the keyword is needed for every
    // style, and the text or icon for the style that shows it.
    if (keyword_.empty()) return false;
    switch (face.face().style) {
        case ButtonStyle::Text:
            return !buttonText_.empty();
        case ButtonStyle::Icon:
            return !face.face().icon.empty();
        case ButtonStyle::Shortcut:
            break;
    }
    return true;
}

std::string LinkButtonForm::markup() const {
    ButtonFace f = face.face();
    f.text = platform::encodeCp932(buttonText_);
    return linkButtonTag(kind_, f, keyword_, font);
}

HelpButtonForm::HelpButtonForm(HelpButtonKind kind)
    : text(platform::utf8ToCp932(kind == HelpButtonKind::Close ? "ヘルプファイルを閉じます"
                                                               : "HHCtrl.ocxのバージョン")),
      kind_(kind) {}

std::string HelpButtonForm::caption() const {
    return kind_ == HelpButtonKind::Close ? "「閉じる」タグ挿入" : "HHCtrl.ocx バージョンタグ挿入";
}

std::string HelpButtonForm::markup() const {
    return helpButtonTag(kind_, face, text, font);
}

}  // namespace tarnbook::authoring
