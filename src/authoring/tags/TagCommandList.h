#pragma once
#include <string_view>
#include <vector>

#include "authoring/tags/ControlTagMarkup.h"
#include "authoring/tags/MediaForm.h"

// The tag commands of the editor page: which dialog each one shows, with what caption, and
// the editor context menu's tag submenu. Texts are UTF-8.
namespace tarnbook::authoring {

enum class TagDialog {
    Popup,        // TagPopup: the popup-text dialog
    Shortcut,     // TagExt
    Related,      // TagRelated
    LinkButton,   // TagA, TagK
    KeywordName,  // TagATo, TagKto: a one-line name, inserted before the head end
    HelpButton,   // ActTagClose, ActTagOCXver
    Splash,       // ActTagSplash
    Media,        // TagSound, TagFlash, TagDirector
    AnchorName,   // TagAnchor: a one-line name
    PageLink,     // TagHref
};

struct TagCommandSpec {
    std::string_view id;
    TagDialog dialog;
    // The kind the shared dialogs are shown for.
    LinkKind link = LinkKind::A;
    MediaKind media = MediaKind::Sound;
    HelpButtonKind button = HelpButtonKind::Close;
    // The one-line name dialogs' caption and label.
    std::string_view caption = {};
    std::string_view label = {};
};

// Every tag command, in the order of the "オブジェクトタグ" menu.
const std::vector<TagCommandSpec>& tagCommandSpecs();
const TagCommandSpec* findTagCommand(std::string_view id);

// The editor context menu's "オブジェクトタグ(&T)" submenu: command ids, "|" for a separator.
const std::vector<std::string_view>& editorTagSubmenu();

}  // namespace tarnbook::authoring
