#include "winhelp/TopicPage.h"

#include <cstdio>

#include "contents/GeneratedPages.h"
#include "platform/Cp932.h"

namespace tarnbook::winhelp {

namespace platform = tarnbook::platform;

namespace {

constexpr const char* kPopupObject =
    "<!-- TextPopup :) --><OBJECT id=\"hhctrlP\" type=\"application/x-oleobject\" "
    "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\" codebase=\"hhctrl.ocx\" "
    "width=\"10\" height=\"10\"></OBJECT><!-- end -->";

void appendCodePoint(std::string& out, char32_t cp) {
    out += "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
}

// Text for a JavaScript string in single quotes inside an attribute in double quotes.
std::u16string scriptString(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c == u'\\')
            out += u"\\\\";
        else if (c == u'\'')
            out += u"\\'";
        else if (c == u'\n')
            out += u"\\n";
        else if (c != u'\r')
            out += c;
    }
    return out;
}

std::string colorText(std::uint32_t rgb) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return buf;
}

class PageWriter {
  public:
    PageWriter(const PageLinks& links, std::vector<std::string>* warnings)
        : links_(links), warnings_(warnings) {}

    std::string body(const Topic& topic) {
        for (const Block& b : topic.body) block(b);
        closeTable();
        return out_;
    }
    bool usesPopups() const { return popups_; }

  private:
    void warn(const std::string& text) {
        if (warnings_) warnings_->push_back(text);
    }

    void closeTable() {
        if (!tableOpen_) return;
        if (cellOpen_) out_ += "</td>";
        if (rowOpen_) out_ += "</tr>";
        out_ += "</table>\r\n";
        tableOpen_ = rowOpen_ = cellOpen_ = false;
    }

    void openCell() {
        if (!tableOpen_) {
            out_ += "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\r\n";
            tableOpen_ = true;
        }
        if (!rowOpen_) {
            out_ += "<tr>";
            rowOpen_ = true;
        }
        if (!cellOpen_) {
            out_ += "<td valign=\"top\">";
            cellOpen_ = true;
        }
    }

    void block(const Block& b) {
        if (b.kind == Block::Kind::RowEnd) {
            if (tableOpen_) {
                if (cellOpen_) out_ += "</td>";
                if (rowOpen_) out_ += "</tr>\r\n";
                rowOpen_ = cellOpen_ = false;
            }
            return;
        }
        if (b.inTable) {
            openCell();
            runs(b.runs);
            if (b.kind == Block::Kind::CellEnd) {
                out_ += "</td>";
                cellOpen_ = false;
            } else {
                out_ += "<br>";
            }
            return;
        }
        closeTable();
        if (b.runs.empty()) {
            out_ += "<br>\r\n";
            return;
        }
        out_ += "<p";
        if (b.align == 'c') out_ += " align=\"center\"";
        if (b.align == 'r') out_ += " align=\"right\"";
        out_ += ">";
        runs(b.runs);
        out_ += "</p>\r\n";
    }

    void runs(const std::vector<Run>& list) {
        lineStart_ = true;
        std::size_t i = 0;
        while (i < list.size()) {
            if (list[i].link == LinkKind::None) {
                run(list[i++], false);
                continue;
            }
            std::size_t end = i + 1;
            while (end < list.size() && list[end].link == list[i].link &&
                   list[end].target == list[i].target)
                ++end;
            linked(list, i, end);
            i = end;
        }
    }

    void linked(const std::vector<Run>& list, std::size_t from, std::size_t to) {
        const Run& first = list[from];
        std::optional<LinkTarget> target;
        if (first.link == LinkKind::Web)
            target = LinkTarget{first.target, {}};
        else if (links_.link)
            target = links_.link(first.target, first.link);
        if (!target) {
            warn((first.link == LinkKind::Popup ? "popup" : "jump") + std::string(" to ") +
                 platform::cp932ToUtf8(first.target) + " not converted: no such topic");
            // Not a link after all: plain text, without the look of one.
            for (std::size_t k = from; k < to; ++k) run(list[k], true);
            return;
        }
        if (!target->popupText.empty()) {
            popups_ = true;
            out_ += "<a href=\"javascript:hhctrlP.TextPopup('" +
                    htmlText(scriptString(target->popupText)) + "','',9,9,-1,-1)\">";
        } else {
            out_ += "<a href=\"" + htmlText(platform::decodeCp932(target->page)) + "\">";
        }
        for (std::size_t k = from; k < to; ++k) run(list[k], true);
        out_ += "</a>";
    }

    void run(const Run& r, bool inLink) {
        std::vector<std::string> closers;
        auto open = [&](const std::string& tag, const std::string& close) {
            out_ += tag;
            closers.push_back(close);
        };
        const CharFormat& f = r.format;
        if (f.color != 0xFFFFFFFF && !inLink)
            open("<font color=\"" + colorText(f.color) + "\">", "</font>");
        if (f.bold) open("<b>", "</b>");
        if (f.italic) open("<i>", "</i>");
        if (!inLink && (f.underline || f.doubleUnderline)) open("<u>", "</u>");
        if (!inLink && f.strike) open("<s>", "</s>");
        if (f.superscript) open("<sup>", "</sup>");
        if (f.subscript) open("<sub>", "</sub>");
        if (r.imagePlacement != 0) {
            picture(r);
            lineStart_ = false;
        } else if (!r.text.empty()) {
            out_ += htmlText(r.text, lineStart_);
            const char16_t last = r.text.back();
            lineStart_ = last == u' ' || last == u'\n' || last == u'\t';
        }
        for (auto it = closers.rbegin(); it != closers.rend(); ++it) out_ += *it;
    }

    void picture(const Run& r) {
        std::optional<std::string> file;
        if (links_.picture) file = links_.picture(r.imageFile);
        if (!file) {
            out_ += "[" + htmlText(platform::decodeCp932(r.imageFile)) + "]";
            return;
        }
        out_ += "<img src=\"" + htmlText(platform::decodeCp932(*file)) + "\" alt=\"\" border=\"0\"";
        if (r.imagePlacement == 'l') out_ += " align=\"left\"";
        if (r.imagePlacement == 'r') out_ += " align=\"right\"";
        out_ += ">";
    }

    const PageLinks& links_;
    std::vector<std::string>* warnings_;
    std::string out_;
    bool popups_ = false;
    bool lineStart_ = true;  // the paragraph so far is empty or ends in a blank
    bool tableOpen_ = false, rowOpen_ = false, cellOpen_ = false;
};

}  // namespace

std::string htmlText(std::u16string_view text, bool lineStart) {
    std::string out;
    out.reserve(text.size() * 2);
    bool lastWasSpace = lineStart;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool space = c == u' ';
        switch (c) {
            case u'&':
                out += "&amp;";
                break;
            case u'<':
                out += "&lt;";
                break;
            case u'>':
                out += "&gt;";
                break;
            case u'"':
                out += "&quot;";
                break;
            case u'\u00A0':
                out += "&nbsp;";
                break;
            case u'\n':
                out += "<br>";
                break;
            case u'\t':
                out += "&nbsp;&nbsp;&nbsp;&nbsp;";
                break;
            case u' ':
                out += lastWasSpace ? "&nbsp;" : " ";
                break;
            default: {
                if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                    text[i + 1] <= 0xDFFF) {
                    appendCodePoint(out, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
                    ++i;
                    break;
                }
                if (c < 0x20) break;  // control characters have no place in a page
                const std::u16string_view one(&text[i], 1);
                std::string bytes = platform::encodeCp932(one);
                if (c >= 0x80 && platform::decodeCp932(bytes) != one)
                    appendCodePoint(out, c);
                else
                    out += bytes;
            }
        }
        lastWasSpace = space || c == u'\n' || c == u'\t';
    }
    return out;
}

std::string renderTopicPage(const Topic& topic, const PageLinks& links,
                            std::vector<std::string>* warnings) {
    PageWriter writer(links, warnings);
    const std::string body = writer.body(topic);
    std::string page;
    for (const auto& line : contents::standardOpeningLines()) page += line + "\r\n";
    page += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\r\n";
    std::u16string title = topic.title;
    if (title.empty() && !topic.contextIds.empty())
        title = platform::decodeCp932(topic.contextIds.front());
    page += "<TITLE>" + htmlText(title) + "</TITLE>\r\n";
    if (writer.usesPopups()) page += std::string(kPopupObject) + "\r\n";
    // ALink names become the help viewer's keyword objects, which ALink buttons look for.
    for (const auto& name : topic.alinks)
        page +=
            "<!-- A Link Key :) --><Object type=\"application/x-oleobject\" "
            "classid=\"clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e\"><param name=\"ALink "
            "Name\" value=\"" +
            htmlText(name) + "\"><PARAM name=\"Flags\" value=\",,1\"></OBJECT><!-- end -->\r\n";
    page += "</HEAD>\r\n<BODY>\r\n";
    page += body;
    page += "</BODY></HTML>\r\n";
    return page;
}

}  // namespace tarnbook::winhelp
