#include "webexport/PageRewriter.h"

#include <algorithm>

#include "webexport/ControlObjects.h"
#include "webexport/HtmlScanner.h"

namespace tarnbook::webexport {
namespace {

struct Edit {
    std::size_t begin;
    std::size_t end;
    std::string text;
};

bool isUrlAttribute(const std::string& tag, const std::string& attr) {
    if (attr == "href" || attr == "src" || attr == "background" || attr == "lowsrc" ||
        attr == "longdesc" || attr == "dynsrc")
        return true;
    return attr == "data" && tag == "object";
}

// Span [begin, end) of each url(...) / @import target in CSS text.
std::vector<std::pair<std::size_t, std::size_t>> cssUrlSpans(std::string_view css) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    const std::string lower = asciiLower(css);
    auto quotedAt = [&](std::size_t p, char close) {
        if (p < css.size() && (css[p] == '"' || css[p] == '\'')) {
            const char q = css[p];
            const std::size_t e = css.find(q, p + 1);
            if (e != std::string_view::npos) spans.emplace_back(p + 1, e);
            return;
        }
        if (close == 0) return;
        std::size_t e = css.find(close, p);
        if (e == std::string_view::npos) return;
        std::size_t b = p;
        while (e > b && (css[e - 1] == ' ' || css[e - 1] == '\t')) --e;
        if (e > b) spans.emplace_back(b, e);
    };
    for (std::size_t at = lower.find("url(", 0); at != std::string::npos;
         at = lower.find("url(", at + 4)) {
        std::size_t p = at + 4;
        while (p < css.size() && (css[p] == ' ' || css[p] == '\t')) ++p;
        quotedAt(p, ')');
    }
    for (std::size_t at = lower.find("@import", 0); at != std::string::npos;
         at = lower.find("@import", at + 7)) {
        std::size_t p = at + 7;
        while (p < css.size() && (css[p] == ' ' || css[p] == '\t')) ++p;
        quotedAt(p, 0);  // url(...) forms are found above
    }
    std::sort(spans.begin(), spans.end());
    return spans;
}

std::string attributeText(std::string_view value) {
    return "\"" + escapeHtml(value) + "\"";
}

std::string linkList(const std::string& id, const std::string& cssClass, const std::string& title,
                     const std::vector<TopicLink>& topics, const std::string& emptyText) {
    std::string out = "<div class=\"tb-links " + cssClass + "\"";
    if (!id.empty()) out += " id=" + attributeText("tbc-" + id);
    out += "><p class=\"tb-links-title\">" + escapeHtml(title) + "</p>";
    if (topics.empty()) return out + "<p class=\"tb-links-none\">" + emptyText + "</p></div>";
    out += "<ul>";
    for (const auto& t : topics) {
        out += "<li>";
        if (t.url.empty())
            out += escapeHtml(t.title);
        else
            out += "<a href=" + attributeText(t.url) + ">" + escapeHtml(t.title) + "</a>";
        out += "</li>";
    }
    return out + "</ul></div>";
}

std::string popupText(const std::string& text) {
    std::string out;
    for (const char c : escapeHtml(text)) {
        if (c == '\n')
            out += "<br>";
        else if (c != '\r')
            out += c;
    }
    return out;
}

struct Rewriter {
    std::string_view html;
    const PageContext& context;
    std::vector<Edit> edits;
    RewrittenPage result;
    int popupCount = 0;

    std::string newPopupId() { return "tbp-" + std::to_string(++popupCount); }

    std::string popupMarkup(const std::string& label, const std::string& text, bool button) {
        const std::string id = newPopupId();
        std::string out = button ? "<button type=\"button\" class=\"tb-popup-link\" data-popup=" +
                                       attributeText(id) + ">" + escapeHtml(label) + "</button>"
                                 : std::string();
        return out + "<span class=\"tb-popup\" id=" + attributeText(id) + " role=\"tooltip\">" +
               popupText(text) + "</span>";
    }

    std::string replacement(const ControlObject& o) {
        auto removed = [&](const std::string& what) {
            result.notes.push_back(what);
            return "<!-- " + what + " -->";
        };
        switch (o.kind) {
            case ControlKind::RelatedTopics: {
                std::vector<TopicLink> topics;
                for (const auto& [title, path] : o.items) {
                    TopicLink t{title, {}};
                    if (auto url = context.rewriteUrl(path)) t.url = *url;
                    topics.push_back(std::move(t));
                }
                return linkList(o.id, "tb-related",
                                o.buttonText.empty() ? "関連トピック" : o.buttonText, topics,
                                "関連トピックはありません");
            }
            case ControlKind::ALink:
            case ControlKind::KLink: {
                const bool alink = o.kind == ControlKind::ALink;
                std::vector<TopicLink> topics;
                for (const auto& k : o.keywords)
                    for (auto& t : context.keywordTopics(alink, k))
                        if (std::none_of(topics.begin(), topics.end(),
                                         [&](const TopicLink& x) { return x.url == t.url; }))
                            topics.push_back(std::move(t));
                return linkList(o.id, alink ? "tb-alink" : "tb-klink",
                                o.buttonText.empty() ? "関連項目" : o.buttonText, topics,
                                "該当するトピックはありません");
            }
            case ControlKind::TextPopup:
                return popupMarkup(o.buttonText.empty() ? "?" : o.buttonText,
                                   o.items.empty() ? std::string() : o.items.front().first, true);
            case ControlKind::Shortcut:
                return removed(
                    "ショートカット (プログラムの起動) はWebページでは使えないため削除しました");
            case ControlKind::Close:
                return removed("「ヘルプを閉じる」ボタンはWebページでは使えないため削除しました");
            case ControlKind::Version:
                return removed(
                    "HHCtrl.ocx のバージョン表示はWebページでは使えないため削除しました");
            case ControlKind::Splash:
                return removed("スプラッシュ表示はWebページでは使えないため削除しました");
            case ControlKind::Unknown:
                return removed("HTMLヘルプのコマンド「" + o.command +
                               "」はWebページでは使えないため削除しました");
            case ControlKind::Keywords:
            case ControlKind::Inert:
                return {};
        }
        return {};
    }

    void rewriteAttribute(const HtmlAttribute& a) {
        if (!a.hasValue) return;
        auto url = context.rewriteUrl(a.value);
        if (!url) return;
        if (url->empty())
            edits.push_back({a.nameBegin, a.valueEnd, {}});
        else
            edits.push_back({a.valueBegin, a.valueEnd, attributeText(*url)});
    }

    void rewriteStyle(std::size_t begin, std::string_view css, bool quoted) {
        for (auto [b, e] : cssUrlSpans(css)) {
            if (auto url = context.rewriteUrl(css.substr(b, e - b)))
                edits.push_back({begin + b, begin + e, quoted ? escapeHtml(*url) : *url});
        }
    }

    std::string headBlock() const {
        const std::string& r = context.rootPrefix;
        std::string out =
            "\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
            "\n<link rel=\"stylesheet\" type=\"text/css\" href=\"" +
            r + "_tarnbook/site.css\">";
        if (context.userStyleSheet)
            out += "\n<link rel=\"stylesheet\" type=\"text/css\" href=\"" + r +
                   "_tarnbook/custom.css\">";
        out += "\n<script type=\"text/javascript\" src=\"" + r +
               "_tarnbook/toc.js\" defer></script>"
               "\n<script type=\"text/javascript\" src=\"" +
               r + "_tarnbook/site.js\" defer></script>\n";
        return out;
    }

    RewrittenPage run() {
        const std::vector<HtmlToken> tokens = scanHtml(html);
        const std::vector<ControlObject> objects = findControlObjects(tokens, html);
        std::vector<std::string> clickable;  // ids of objects that became link lists
        for (const auto& o : objects) {
            const std::string text = replacement(o);
            if (!o.id.empty() && text.rfind("<div", 0) == 0) clickable.push_back(o.id);
            edits.push_back({o.begin, o.end, text});
        }
        auto insideObject = [&](std::size_t pos) {
            return std::any_of(objects.begin(), objects.end(), [&](const ControlObject& o) {
                return pos >= o.begin && pos < o.end;
            });
        };
        std::vector<bool> handled(tokens.size(), false);
        for (const PopupLink& p : findPopupLinks(tokens, html)) {
            const HtmlToken& a = tokens[p.startTag];
            if (insideObject(a.begin)) continue;
            const std::string id = "tbp-" + std::to_string(popupCount + 1);
            edits.push_back(
                {a.begin, a.end,
                 "<a href=\"#" + id + "\" class=\"tb-popup-link\" data-popup=\"" + id + "\">"});
            const std::string bubble = popupMarkup({}, p.text, false);
            if (p.endTag)
                edits.push_back({tokens[p.endTag].end, tokens[p.endTag].end, bubble});
            else
                edits.push_back({a.end, a.end, "</a>" + bubble});
            handled[p.startTag] = true;
        }

        const std::string charsetMeta =
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";
        std::size_t headOpen = std::string::npos, headClose = std::string::npos;
        std::size_t htmlOpen = std::string::npos, bodyOpen = std::string::npos;
        std::size_t afterDeclarations = 0;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            const HtmlToken& t = tokens[i];
            if (insideObject(t.begin)) continue;
            using K = HtmlToken::Kind;
            if (t.kind == K::Declaration) {
                if (html.substr(t.begin, 5) == "<?xml") edits.push_back({t.begin, t.end, {}});
                if (htmlOpen == std::string::npos) afterDeclarations = t.end;
                continue;
            }
            if (t.kind == K::EndTag && t.name == "head" && headClose == std::string::npos)
                headClose = t.begin;
            if (t.kind != K::StartTag) continue;
            if (t.name == "head" && headOpen == std::string::npos) headOpen = t.end;
            if (t.name == "html" && htmlOpen == std::string::npos) htmlOpen = t.end;
            if (t.name == "body" && bodyOpen == std::string::npos) bodyOpen = t.begin;
            if (t.name == "meta" &&
                (t.attribute("charset") ||
                 asciiLower(t.attributeValue("http-equiv")) == "content-type")) {
                edits.push_back({t.begin, t.end, {}});
                continue;
            }
            if (t.name == "base") {  // it would send every relative link elsewhere
                edits.push_back({t.begin, t.end, {}});
                continue;
            }
            if (t.name == "script" && i + 1 < tokens.size() && tokens[i + 1].kind == K::Text &&
                isPopupFontScript(
                    html.substr(tokens[i + 1].begin, tokens[i + 1].end - tokens[i + 1].begin))) {
                const std::size_t end = i + 2 < tokens.size() && tokens[i + 2].kind == K::EndTag
                                            ? tokens[i + 2].end
                                            : tokens[i + 1].end;
                edits.push_back({t.begin, end, {}});
                i += 2;
                continue;
            }
            if (t.name == "style" && i + 1 < tokens.size() && tokens[i + 1].kind == K::Text)
                rewriteStyle(
                    tokens[i + 1].begin,
                    html.substr(tokens[i + 1].begin, tokens[i + 1].end - tokens[i + 1].begin),
                    false);
            if (handled[i]) continue;
            for (const HtmlAttribute& a : t.attributes) {
                if (a.name == "style" && a.hasValue && a.valueEnd > a.valueBegin) {
                    const bool quoted = html[a.valueBegin] == '"' || html[a.valueBegin] == '\'';
                    const std::size_t b = a.valueBegin + (quoted ? 1 : 0);
                    const std::size_t e = quoted && a.valueEnd > b ? a.valueEnd - 1 : a.valueEnd;
                    // Entity-free style text only: offsets must match the page's bytes.
                    if (html.substr(b, e - b).find('&') == std::string_view::npos)
                        rewriteStyle(b, html.substr(b, e - b), true);
                }
                if (!isUrlAttribute(t.name, a.name)) continue;
                const std::string lower = asciiLower(a.value);
                if (t.name == "a" && lower.rfind("javascript:", 0) == 0) {
                    // A script link that presses a control which is now a link list.
                    for (const auto& id : clickable)
                        if (lower.find(asciiLower(id) + ".click(") != std::string::npos)
                            edits.push_back(
                                {a.valueBegin, a.valueEnd, attributeText("#tbc-" + id)});
                    continue;
                }
                rewriteAttribute(a);
            }
        }

        // The charset right at the start of the head, the site's files at its end.
        std::size_t metaAt = headOpen != std::string::npos   ? headOpen
                             : htmlOpen != std::string::npos ? htmlOpen
                                                             : afterDeclarations;
        std::size_t blockAt = headClose != std::string::npos  ? headClose
                              : bodyOpen != std::string::npos ? bodyOpen
                                                              : metaAt;
        if (blockAt < metaAt) blockAt = metaAt;
        edits.push_back({metaAt, metaAt, "\n" + charsetMeta});
        edits.push_back({blockAt, blockAt, headBlock()});

        // An insertion goes before a replacement that starts at the same place.
        std::stable_sort(edits.begin(), edits.end(), [](const Edit& x, const Edit& y) {
            return x.begin < y.begin || (x.begin == y.begin && x.end < y.end);
        });
        std::string out;
        out.reserve(html.size() + 1024);
        std::size_t pos = 0;
        for (const Edit& e : edits) {
            if (e.begin < pos) continue;  // overlaps an earlier edit: the first one wins
            out.append(html.substr(pos, e.begin - pos));
            out += e.text;
            pos = e.end;
        }
        out.append(html.substr(pos));
        result.html = std::move(out);
        return std::move(result);
    }
};

}  // namespace

RewrittenPage rewritePage(std::string_view html, const PageContext& context) {
    Rewriter r{html, context, {}, {}, 0};
    return r.run();
}

std::string rewriteCssUrls(
    std::string_view css,
    const std::function<std::optional<std::string>(std::string_view url)>& rewriteUrl) {
    std::string out;
    std::size_t pos = 0;
    for (auto [b, e] : cssUrlSpans(css)) {
        if (b < pos) continue;
        auto url = rewriteUrl(css.substr(b, e - b));
        if (!url) continue;
        out.append(css.substr(pos, b - pos));
        out += *url;
        pos = e;
    }
    out.append(css.substr(pos));
    return out;
}

std::vector<std::string> cssUrls(std::string_view css) {
    std::vector<std::string> urls;
    for (auto [b, e] : cssUrlSpans(css)) urls.emplace_back(css.substr(b, e - b));
    return urls;
}

std::vector<std::string> pageReferences(std::string_view html) {
    std::vector<std::string> refs;
    const auto tokens = scanHtml(html);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const HtmlToken& t = tokens[i];
        if (t.kind != HtmlToken::Kind::StartTag) continue;
        for (const HtmlAttribute& a : t.attributes) {
            if (a.hasValue && isUrlAttribute(t.name, a.name)) refs.push_back(a.value);
            if (a.name == "style")
                for (auto& u : cssUrls(a.value)) refs.push_back(u);
        }
        if (t.name == "style" && i + 1 < tokens.size() &&
            tokens[i + 1].kind == HtmlToken::Kind::Text)
            for (auto& u :
                 cssUrls(html.substr(tokens[i + 1].begin, tokens[i + 1].end - tokens[i + 1].begin)))
                refs.push_back(u);
    }
    for (const ControlObject& o : findControlObjects(tokens, html))
        if (o.kind == ControlKind::RelatedTopics)
            for (const auto& item : o.items) refs.push_back(item.second);
    return refs;
}

}  // namespace tarnbook::webexport
