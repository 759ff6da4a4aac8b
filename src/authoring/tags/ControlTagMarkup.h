#pragma once
#include <string>
#include <string_view>
#include <vector>

// The HTML Help control objects the tag commands write into a page. Every value is CP932
// text inserted as it stands (no HTML escaping); every object is one line, framed by a
// comment naming its kind and "<!-- end -->".
namespace tarnbook::authoring {

// The face of a control button.
enum class ButtonStyle { Text, Icon, Shortcut };

struct ButtonFace {
    ButtonStyle style = ButtonStyle::Text;
    std::string text;  // the text button's caption
    std::string icon;  // the icon's file name in the resource folder
};

// The font of a button or popup: only name and point size are written.
struct TagFont {
    std::string family = "Helvetica";
    int size = 12;
};

// The Button parameter: "Text:..." / "Icon:..." / "Bitmap:Shortcut" (the program shortcut
// writes "Bitmap:shortcut").
std::string buttonValue(const ButtonFace& face, bool lowerCaseShortcut = false);

// A program shortcut (ShortCut command); the parameters may be empty.
std::string shortcutTag(const ButtonFace& face, std::string_view program,
                        std::string_view parameters, const TagFont& font);

// A page of the project as the tag dialogs list it: the node's title and the page's path.
struct PageRef {
    std::string title;
    std::string path;
};
// A related-topics button, one item per topic; `popupMenu` lists the topics in a menu instead of a
// dialog.
std::string relatedTopicsTag(const std::vector<PageRef>& topics, bool popupMenu,
                             const ButtonFace& face, const TagFont& font);

enum class LinkKind { A, K };
// An ALink or KLink button looking for `keyword`; only the text button shows a menu.
std::string linkButtonTag(LinkKind kind, const ButtonFace& face, std::string_view keyword,
                          const TagFont& font);
// The keyword object an ALink or KLink finds (it goes into the page's head).
std::string keywordObject(LinkKind kind, std::string_view name);

enum class HelpButtonKind { Close, Version };
enum class HelpButtonFace { Button, LinkText };
// Close-help and control-version buttons; the version button carries no font.
std::string helpButtonTag(HelpButtonKind kind, HelpButtonFace face, std::string_view text,
                          const TagFont& font);

// A splash screen showing `picture` (relative to the project folder) for `milliseconds`.
std::string splashTag(std::string_view picture, int milliseconds);

// A text popup link; line breaks of the popup text become the two characters "\n". The font
// is always bold.
std::string popupLinkTag(const TagFont& font, std::string_view popupText,
                         std::string_view linkText);
// The control object every popup link of a page uses (once per page, in its head).
const std::string& popupControlObject();

}  // namespace tarnbook::authoring
