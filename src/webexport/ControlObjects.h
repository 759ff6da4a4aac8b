#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "webexport/HtmlScanner.h"

// The HTML Help control objects of a page (hhctrl.ocx buttons, keyword objects, text-popup
// links), found so that the web export can put working HTML in their place.
namespace tarnbook::webexport {

enum class ControlKind {
    RelatedTopics,
    ALink,
    KLink,
    TextPopup,  // the "Text Popup" command (a button that shows a text)
    Shortcut,
    Close,
    Version,
    Splash,
    Keywords,  // an invisible keyword object (ALink names and index keywords)
    Inert,     // a control without a command (the object text-popup links call)
    Unknown,   // a command a web page has no use for
};

struct ControlObject {
    ControlKind kind = ControlKind::Inert;
    std::size_t begin = 0;  // the object's span, end tag included
    std::size_t end = 0;
    std::string id;          // the object's id attribute
    std::string command;     // as written
    std::string buttonText;  // from "Text:..." of the Button parameter, or a Text parameter
    // Related topics: (title, path as written); ALink/KLink: keywords in first.
    std::vector<std::pair<std::string, std::string>> items;
    std::vector<std::string> keywords;    // ALink/KLink keywords, index keywords of the page
    std::vector<std::string> aLinkNames;  // ALink names the page carries
};

// Every <object> of the control's or the keyword object's class, outermost only.
std::vector<ControlObject> findControlObjects(const std::vector<HtmlToken>& tokens,
                                              std::string_view html);

// A link whose href calls TextPopup("text", ...): its start tag and its end tag.
struct PopupLink {
    std::size_t startTag = 0;  // token index of <a>
    std::size_t endTag = 0;    // token index of the matching </a>, or 0 when there is none
    std::string text;          // the popup text, "\n" escapes made line breaks
};

// The popup text is read from the tag as written, so a text with blanks, which cuts a bare
// attribute value short, still comes through whole.
std::vector<PopupLink> findPopupLinks(const std::vector<HtmlToken>& tokens, std::string_view html);

// The text argument of a "...TextPopup("text", ...)" script call; false when there is none.
bool popupTextOf(std::string_view script, std::string* text);

// True for the <script> body that only sets the popup font ("FFace=...").
bool isPopupFontScript(std::string_view body);

// Splits a keyword parameter at ';' (as the control does), trimmed, empty ones dropped.
std::vector<std::string> splitKeywordParameter(std::string_view value);

}  // namespace tarnbook::webexport
