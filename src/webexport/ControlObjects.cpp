#include "webexport/ControlObjects.h"

namespace tarnbook::webexport {
namespace {

constexpr std::string_view kControlClass = "adb880a6-d8ff-11cf-9377-00aa003b7a11";
constexpr std::string_view kKeywordClass = "1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e";

std::string trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return std::string(s);
}

ControlKind kindOfCommand(std::string_view command) {
    std::string c = asciiLower(trim(command));
    const std::size_t comma = c.find(',');
    if (comma != std::string::npos) c = trim(c.substr(0, comma));
    if (c == "related topics") return ControlKind::RelatedTopics;
    if (c == "alink") return ControlKind::ALink;
    if (c == "klink") return ControlKind::KLink;
    if (c == "text popup") return ControlKind::TextPopup;
    if (c == "shortcut") return ControlKind::Shortcut;
    if (c == "close") return ControlKind::Close;
    if (c == "hh version") return ControlKind::Version;
    if (c == "splash") return ControlKind::Splash;
    if (c.empty()) return ControlKind::Inert;
    return ControlKind::Unknown;
}

// "Text:Label" -> "Label"; icons and bitmaps have no text.
std::string buttonLabel(std::string_view value) {
    const std::string lower = asciiLower(value);
    if (lower.rfind("text:", 0) == 0) return trim(value.substr(5));
    return {};
}

void readParameter(ControlObject& object, const std::string& name, const std::string& value) {
    const std::string key = asciiLower(trim(name));
    if (key == "command") {
        object.command = value;
    } else if (key == "button" || key == "text") {
        if (object.buttonText.empty()) object.buttonText = buttonLabel(value);
    } else if (key == "alink name") {
        for (auto& k : splitKeywordParameter(value)) object.aLinkNames.push_back(k);
    } else if (key == "keyword") {
        for (auto& k : splitKeywordParameter(value)) object.keywords.push_back(k);
    } else if (key.rfind("item", 0) == 0 && key.size() > 4) {
        const std::size_t semi = value.find(';');
        if (semi == std::string::npos)
            object.items.emplace_back(trim(value), std::string());
        else
            object.items.emplace_back(trim(value.substr(0, semi)), trim(value.substr(semi + 1)));
    }
}

}  // namespace

std::vector<std::string> splitKeywordParameter(std::string_view value) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t semi = value.find(';', start);
        if (semi == std::string_view::npos) semi = value.size();
        std::string k = trim(value.substr(start, semi - start));
        if (!k.empty()) out.push_back(std::move(k));
        start = semi + 1;
    }
    return out;
}

std::vector<ControlObject> findControlObjects(const std::vector<HtmlToken>& tokens,
                                              std::string_view html) {
    std::vector<ControlObject> objects;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const HtmlToken& t = tokens[i];
        if (t.kind != HtmlToken::Kind::StartTag || t.name != "object") continue;
        const std::string classId = asciiLower(t.attributeValue("classid"));
        const bool control = classId.find(kControlClass) != std::string::npos;
        const bool keywords = classId.find(kKeywordClass) != std::string::npos;
        if (!control && !keywords) continue;

        ControlObject object;
        object.begin = t.begin;
        object.id = t.attributeValue("id");
        int depth = 1;
        std::size_t k = i + 1;
        for (; k < tokens.size(); ++k) {
            const HtmlToken& u = tokens[k];
            if (u.name == "object") depth += u.kind == HtmlToken::Kind::StartTag ? 1 : -1;
            if (depth == 0) break;
            if (u.kind == HtmlToken::Kind::StartTag && u.name == "param")
                readParameter(object, u.attributeValue("name"), u.attributeValue("value"));
        }
        // An object never closed ends at the end of the page.
        object.end = k < tokens.size() ? tokens[k].end : html.size();
        i = k;
        if (keywords) {
            object.kind = ControlKind::Keywords;
        } else {
            object.kind = kindOfCommand(object.command);
            if (object.kind == ControlKind::ALink || object.kind == ControlKind::KLink) {
                // The keywords are in Item2 (Item1 names a window or is empty).
                if (object.items.size() >= 2) {
                    std::string joined = object.items[1].first;
                    if (!object.items[1].second.empty()) joined += ";" + object.items[1].second;
                    object.keywords = splitKeywordParameter(joined);
                }
                object.items.clear();
            }
        }
        objects.push_back(std::move(object));
    }
    return objects;
}

bool popupTextOf(std::string_view script, std::string* text) {
    std::size_t at = asciiLower(script).find("textpopup(");
    if (at == std::string::npos) return false;
    std::size_t p = at + 10;
    while (p < script.size() && (script[p] == ' ' || script[p] == '\t')) ++p;
    if (p >= script.size() || (script[p] != '"' && script[p] != '\'')) return false;
    const char quote = script[p++];
    std::string out;
    for (; p < script.size() && script[p] != quote; ++p) {
        if (script[p] == '\\' && p + 1 < script.size()) {
            const char e = script[++p];
            out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
        } else {
            out += script[p];
        }
    }
    *text = out;
    return true;
}

bool isPopupFontScript(std::string_view body) {
    const std::string t = trim(body);
    return t.rfind("FFace", 0) == 0 && t.find('=') != std::string::npos &&
           t.find('\n') == std::string::npos;
}

std::vector<PopupLink> findPopupLinks(const std::vector<HtmlToken>& tokens, std::string_view html) {
    std::vector<PopupLink> links;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const HtmlToken& t = tokens[i];
        if (t.kind != HtmlToken::Kind::StartTag || t.name != "a") continue;
        const std::string href = t.attributeValue("href");
        if (asciiLower(trim(href)).rfind("javascript:", 0) != 0) continue;
        PopupLink link;
        const std::string_view tag = html.substr(t.begin, t.end - t.begin);
        if (popupTextOf(tag, &link.text))
            link.text = decodeEntities(link.text);
        else if (!popupTextOf(href, &link.text))
            continue;
        link.startTag = i;
        for (std::size_t k = i + 1; k < tokens.size(); ++k) {
            if (tokens[k].name != "a") continue;
            if (tokens[k].kind == HtmlToken::Kind::EndTag) link.endTag = k;
            break;  // a new <a> ends the old one as well
        }
        links.push_back(std::move(link));
    }
    return links;
}

}  // namespace tarnbook::webexport
