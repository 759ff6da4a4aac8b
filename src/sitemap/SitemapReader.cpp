#include "sitemap/SitemapReader.h"

#include <algorithm>
#include <functional>

#include "sitemap/HtmlTokenizer.h"

namespace tarnbook::sitemap {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lower(c);
    return out;
}

// "text/html; charset=gb2312" -> "gb2312"
std::string charsetOf(std::string_view content) {
    std::string low = lowerAscii(content);
    std::size_t at = low.find("charset=");
    if (at == std::string::npos) return {};
    std::size_t start = at + 8;
    std::size_t end = start;
    while (end < low.size() && low[end] != ';' && low[end] != ' ' && low[end] != '"' &&
           low[end] != '\'')
        ++end;
    return low.substr(start, end - start);
}

// Builds the tree from the tag stream. Each open list is a level; entries of a level go to the
// children of the last entry of the level above, or to the level above itself when a list
// opens with no entry before it.
class TreeBuilder {
  public:
    static constexpr std::size_t kMaxDepth = 256;

    TreeBuilder(Sitemap& out, TextForm form) : out_(out), form_(form) {
        levels_.push_back(&out_.entries);
    }

    void take(const Tag& tag) {
        if (tag.name == "object") {
            tag.closing ? endObject(tag.line) : startObject(tag);
        } else if (tag.name == "param") {
            addParam(tag);
        } else if (tag.name == "ul" || tag.name == "ol") {
            if (inObject_) endObject(tag.line, /*implicit=*/true);
            tag.closing ? closeList(tag.line) : openList(tag.line);
        } else if (tag.name == "li" && inObject_) {
            endObject(tag.line, /*implicit=*/true);
        } else if (tag.name == "meta" && !tag.closing) {
            readMeta(tag);
        }
    }

    void finish(std::size_t line) {
        if (inObject_) endObject(line, /*implicit=*/true);
        if (openLists_ > 0) warn(line, "閉じていないリスト <UL> があります");
    }

  private:
    void warn(std::size_t line, std::string message) {
        out_.warnings.push_back({line, std::move(message)});
    }

    void startObject(const Tag& tag) {
        if (inObject_) endObject(tag.line, /*implicit=*/true);
        inObject_ = true;
        current_ = Entry{};
        current_.line = tag.line;
        const std::string* type = tag.attribute("type");
        std::string t = type ? lowerAscii(*type) : std::string();
        isProperties_ = t == "text/site properties";
        // Hand-written files sometimes leave the type out.
        current_.kind = !type || t == "text/sitemap" ? EntryKind::Topic : EntryKind::Other;
    }

    void addParam(const Tag& tag) {
        if (tag.closing) return;
        const std::string* name = tag.attribute("name");
        if (!inObject_) {
            warn(tag.line, "<OBJECT> の外にある <param> を無視しました");
            return;
        }
        if (!name) {
            warn(tag.line, "name のない <param> を無視しました");
            return;
        }
        const std::string* value = tag.attribute("value");
        Param p{*name, value ? decodeEntities(*value, form_) : std::string()};
        if (isProperties_)
            out_.properties.push_back(std::move(p));
        else
            current_.params.push_back(std::move(p));
    }

    void endObject(std::size_t line, bool implicit = false) {
        if (!inObject_) {
            warn(line, "対応する <OBJECT> のない </OBJECT> を無視しました");
            return;
        }
        if (implicit) warn(current_.line, "</OBJECT> がありません");
        inObject_ = false;
        if (isProperties_) return;
        if (current_.kind == EntryKind::Topic && current_.value("Merge") && !current_.value("Name"))
            current_.kind = EntryKind::Merge;
        levels_.back()->push_back(std::move(current_));
    }

    void openList(std::size_t line) {
        std::vector<Entry>* list = levels_.back();
        ++openLists_;
        if (openLists_ == 1) {
            levels_.push_back(list);  // the outermost list holds the top level
            return;
        }
        if (list->empty()) {
            warn(line, "親の項目がないリスト <UL> の項目は一つ上の階層に置きました");
            levels_.push_back(list);
            return;
        }
        if (openLists_ > kMaxDepth) {
            // Keeps the tree (and everything that walks it recursively) within the stack.
            if (!warnedDepth_) warn(line, "階層が深すぎるリストは平らにしました");
            warnedDepth_ = true;
            levels_.push_back(list);
            return;
        }
        levels_.push_back(&list->back().children);
    }

    void closeList(std::size_t line) {
        if (openLists_ == 0) {
            warn(line, "対応する <UL> のない </UL> を無視しました");
            return;
        }
        --openLists_;
        levels_.pop_back();
    }

    void readMeta(const Tag& tag) {
        if (!out_.charset.empty()) return;
        if (const std::string* cs = tag.attribute("charset")) {
            out_.charset = lowerAscii(*cs);
        } else if (const std::string* content = tag.attribute("content")) {
            out_.charset = charsetOf(*content);
        }
    }

    Sitemap& out_;
    TextForm form_;
    // levels_[0] is the top level (objects outside any list land there); each open list
    // pushes the vector its entries go to.
    std::vector<std::vector<Entry>*> levels_;
    std::size_t openLists_ = 0;
    bool warnedDepth_ = false;
    bool inObject_ = false;
    bool isProperties_ = false;
    Entry current_;
};

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

const std::string* Entry::value(std::string_view paramName) const {
    for (const Param& p : params)
        if (equalsIgnoringCase(p.name, paramName)) return &p.value;
    return nullptr;
}

std::vector<std::string> Entry::values(std::string_view paramName) const {
    std::vector<std::string> out;
    for (const Param& p : params)
        if (equalsIgnoringCase(p.name, paramName)) out.push_back(p.value);
    return out;
}

std::size_t Sitemap::countEntries() const {
    std::function<std::size_t(const std::vector<Entry>&)> count =
        [&](const std::vector<Entry>& list) {
            std::size_t n = list.size();
            for (const Entry& e : list) n += count(e.children);
            return n;
        };
    return count(entries);
}

Sitemap readSitemap(std::string_view text, TextForm form) {
    Sitemap out;
    HtmlTokenizer tokenizer(text);
    TreeBuilder builder(out, form);
    Tag tag;
    std::size_t lastLine = 1;
    while (tokenizer.next(tag)) {
        lastLine = tag.line;
        builder.take(tag);
    }
    builder.finish(lastLine);
    for (const auto& p : tokenizer.problems()) out.warnings.push_back({p.line, p.message});
    std::stable_sort(out.warnings.begin(), out.warnings.end(),
                     [](const Warning& a, const Warning& b) { return a.line < b.line; });
    return out;
}

}  // namespace tarnbook::sitemap
