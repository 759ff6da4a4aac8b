#include "authoring/tags/TagCommandList.h"

namespace tarnbook::authoring {

const std::vector<TagCommandSpec>& tagCommandSpecs() {
    using enum TagDialog;
    static const std::vector<TagCommandSpec> specs = {
        {.id = "TagPopup", .dialog = Popup},
        {.id = "TagExt", .dialog = Shortcut},
        {.id = "TagRelated", .dialog = Related},
        {.id = "TagA", .dialog = LinkButton, .link = LinkKind::A},
        {.id = "TagATo",
         .dialog = KeywordName,
         .link = LinkKind::A,
         .caption = "Aリンク挿入",
         .label = "Aリンク名"},
        {.id = "TagK", .dialog = LinkButton, .link = LinkKind::K},
        {.id = "TagKto",
         .dialog = KeywordName,
         .link = LinkKind::K,
         .caption = "Kリンク挿入",
         .label = "Kリンク名"},
        {.id = "TagAnchor",
         .dialog = AnchorName,
         .caption = "アンカータグ挿入",
         .label = "アンカー名"},
        {.id = "TagHref", .dialog = PageLink},
        {.id = "TagDirector", .dialog = Media, .media = MediaKind::Director},
        {.id = "TagFlash", .dialog = Media, .media = MediaKind::Flash},
        {.id = "TagSound", .dialog = Media, .media = MediaKind::Sound},
        {.id = "ActTagSplash", .dialog = Splash},
        {.id = "ActTagOCXver", .dialog = HelpButton, .button = HelpButtonKind::Version},
        {.id = "ActTagClose", .dialog = HelpButton, .button = HelpButtonKind::Close},
    };
    return specs;
}

const TagCommandSpec* findTagCommand(std::string_view id) {
    for (const TagCommandSpec& s : tagCommandSpecs())
        if (s.id == id) return &s;
    return nullptr;
}

const std::vector<std::string_view>& editorTagSubmenu() {
    static const std::vector<std::string_view> entries = {
        "TagPopup",     "TagExt",      "TagRelated", "TagA",
        "TagATo",       "TagK",        "TagKto",     "|",
        "TagAnchor",    "TagHref",     "|",          "TagDirector",
        "TagFlash",     "TagSound",    "|",          "ActTagSplash",
        "ActTagOCXver", "ActTagClose",
    };
    return entries;
}

}  // namespace tarnbook::authoring
