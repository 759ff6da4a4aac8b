#include "authoring/tags/ControlTagMarkup.h"

#include <string>

namespace tarnbook::authoring {

namespace {

// Everything between the object's id and its first parameter: the control's type, class
// and code base, written without blanks between the attributes.
constexpr std::string_view kControl =
    R"( type="application/x-oleobject"classid="clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11")"
    R"(codebase="hhctrl.ocx" width="10" height="10">)";
constexpr std::string_view kEnd = "</OBJECT><!-- end -->";

std::string controlOpening(std::string_view kind, std::string_view id) {
    std::string out = "<!-- ";
    out.append(kind).append(" :) --><OBJECT id=").append(id).append(kControl);
    return out;
}

std::string fontParam(const TagFont& font) {
    return R"(<PARAM name="Font" value=")" + font.family + "," + std::to_string(font.size) +
           R"(,,,PLAIN">)";
}

std::string buttonParam(const ButtonFace& face, bool lowerCaseShortcut = false) {
    return R"(<PARAM name="Button" value=")" + buttonValue(face, lowerCaseShortcut) + R"(">)";
}

}  // namespace

std::string buttonValue(const ButtonFace& face, bool lowerCaseShortcut) {
    switch (face.style) {
        case ButtonStyle::Text:
            return "Text:" + face.text;
        case ButtonStyle::Icon:
            return "Icon:" + face.icon;
        case ButtonStyle::Shortcut:
            break;
    }
    return lowerCaseShortcut ? "Bitmap:shortcut" : "Bitmap:Shortcut";
}

std::string shortcutTag(const ButtonFace& face, std::string_view program,
                        std::string_view parameters, const TagFont& font) {
    std::string out = controlOpening("Extention", "hhctrlX");
    out += R"(<param name="Command" value="ShortCut">)";
    out += buttonParam(face, true);
    // The first, empty field of Item1 is the window class.
    out.append(R"(<PARAM name="Item1" value=",)").append(program).append(",");
    out.append(parameters).append(R"(">)");
    out += fontParam(font);
    out += kEnd;
    return out;
}

std::string relatedTopicsTag(const std::vector<PageRef>& topics, bool popupMenu,
                             const ButtonFace& face, const TagFont& font) {
    std::string out = controlOpening("Related Link", "hhctrlR");
    out += R"(<param name="Command" value="Related Topics)";
    if (popupMenu) out += ", MENU";
    out += R"(">)";
    out += buttonParam(face);
    std::size_t k = 0;
    for (const PageRef& t : topics)
        out += R"(<param name="Item)" + std::to_string(++k) + R"(" value=")" + t.title + ";" +
               t.path + R"(">)";
    out += fontParam(font);
    out += kEnd;
    return out;
}

std::string linkButtonTag(LinkKind kind, const ButtonFace& face, std::string_view keyword,
                          const TagFont& font) {
    const bool a = kind == LinkKind::A;
    std::string out = controlOpening(a ? "A Link" : "K Link", a ? "hhctrlA" : "hhctrlK");
    out += a ? R"(<param name="Command" value="ALink)" : R"(<param name="Command" value="KLink)";
    // One choice decides both the face and whether the button opens a menu.
    if (face.style == ButtonStyle::Text) out += ", MENU";
    out += R"(">)";
    out += buttonParam(face);
    out += R"(<PARAM name="Item1" value=""><param name="Item2" value=")";
    out.append(keyword).append(R"(">)");
    out += fontParam(font);
    out += kEnd;
    return out;
}

std::string keywordObject(LinkKind kind, std::string_view name) {
    std::string out = kind == LinkKind::A ? "<!-- A Link Key :) -->" : "<!-- K Link Key :) -->";
    out += R"(<Object type="application/x-oleobject" )";
    out += R"(classid="clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e">)";
    out += kind == LinkKind::A ? R"(<param name="ALink Name" value=")"
                               : R"(<param name="Keyword" value=")";
    out.append(name).append(R"(">)");
    out += R"(<PARAM name="Flags" value=",,1">)";
    out += kEnd;
    return out;
}

std::string helpButtonTag(HelpButtonKind kind, HelpButtonFace face, std::string_view text,
                          const TagFont& font) {
    const bool close = kind == HelpButtonKind::Close;
    std::string out =
        close ? controlOpening("Help Exit", "hhctrlI") : controlOpening("OCX version", "hhctrlV");
    out += close ? R"(<param name="Command" value="Close">)"
                 : R"(<param name="Command" value="HH Version">)";
    out += face == HelpButtonFace::Button ? R"(<PARAM name="Button")" : R"(<PARAM name="Text")";
    out.append(R"( value="Text:)").append(text).append(R"(">)");
    if (close) out += fontParam(font);
    out += kEnd;
    return out;
}

std::string splashTag(std::string_view picture, int milliseconds) {
    std::string out = controlOpening("Splash", "hhctrlS");
    out += R"(<param name="Command" value="Splash">)";
    out.append(R"(<PARAM name="Item1" value=")").append(picture).append(R"(">)");
    out += R"(<PARAM name="Item2" value=")" + std::to_string(milliseconds) + R"(">)";
    out += kEnd;
    return out;
}

std::string popupLinkTag(const TagFont& font, std::string_view popupText,
                         std::string_view linkText) {
    std::string text;
    text.reserve(popupText.size());
    for (std::size_t i = 0; i < popupText.size(); ++i) {
        const char c = popupText[i];
        if (c == '\r' || c == '\n') {
            text += "\\n";
            if (c == '\r' && i + 1 < popupText.size() && popupText[i + 1] == '\n') ++i;
        } else {
            text += c;
        }
    }
    std::string out = R"(<script>FFace=")" + font.family + "," + std::to_string(font.size) +
                      R"(,,bold"</script><A href=javascript:id=hhctrlP.TextPopup(")";
    out.append(text).append(R"(",FFace,9,9,10,10)>)").append(linkText).append("</A>");
    return out;
}

const std::string& popupControlObject() {
    // The only object whose id is quoted: the page's popup links look for it by that id.
    static const std::string object = std::string(R"(<!-- TextPopup :) --><OBJECT id="hhctrlP")") +
                                      std::string(kControl) + std::string(kEnd);
    return object;
}

}  // namespace tarnbook::authoring
