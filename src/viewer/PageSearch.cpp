#include "viewer/PageSearch.h"

#include <algorithm>

#include "viewer/EntryTypes.h"
#include "webexport/HtmlScanner.h"
#include "webexport/PageCharset.h"
#include "webexport/SearchIndex.h"

namespace tarnbook::viewer {

namespace {

// Single characters and pairs share one key space: a pair never has a zero second half.
std::uint64_t unigramKey(char32_t a) {
    return static_cast<std::uint64_t>(a) << 32;
}
std::uint64_t bigramKey(char32_t a, char32_t b) {
    return (static_cast<std::uint64_t>(a) << 32) | b;
}

std::vector<std::u32string> terms(std::string_view queryUtf8) {
    std::vector<std::u32string> out;
    const std::u32string q = webexport::normalizeForSearch(queryUtf8);
    std::size_t start = 0;
    while (start < q.size()) {
        std::size_t end = q.find(U' ', start);
        if (end == std::u32string::npos) end = q.size();
        if (end > start) out.push_back(q.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

}  // namespace

PageText extractPageText(std::string_view pageBytes, std::optional<std::uint32_t> languageId) {
    const std::string html = pageUtf8(pageBytes, languageId);
    PageText out;
    bool inTitle = false;
    for (const auto& t : webexport::scanHtml(html)) {
        if (t.kind == webexport::HtmlToken::Kind::StartTag && t.name == "title") {
            inTitle = true;
        } else if (t.kind == webexport::HtmlToken::Kind::EndTag && t.name == "title") {
            break;
        } else if (inTitle && t.kind == webexport::HtmlToken::Kind::Text) {
            out.title +=
                webexport::decodeEntities(std::string_view(html).substr(t.begin, t.end - t.begin));
        } else if (t.kind == webexport::HtmlToken::Kind::StartTag && t.name == "body") {
            break;
        }
    }
    // The title as one line, as a results list shows it.
    std::string oneLine;
    bool blank = true;
    for (char c : out.title) {
        const bool isBlank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (isBlank && !blank) oneLine += ' ';
        if (!isBlank) oneLine += c;
        blank = isBlank;
    }
    while (!oneLine.empty() && oneLine.back() == ' ') oneLine.pop_back();
    out.title = oneLine;
    out.text = webexport::visibleText(html);
    return out;
}

void PageSearch::add(std::size_t page, const PageText& text) {
    Entry e{page, webexport::normalizeForSearch(text.title),
            webexport::normalizeForSearch(text.title + " " + text.text)};
    const auto number = static_cast<std::uint32_t>(pages_.size());
    auto post = [&](std::uint64_t key) {
        auto& list = postings_[key];
        if (list.empty() || list.back() != number) list.push_back(number);
    };
    for (std::size_t i = 0; i < e.text.size(); ++i) {
        if (e.text[i] == U' ') continue;
        post(unigramKey(e.text[i]));
        if (i + 1 < e.text.size() && e.text[i + 1] != U' ')
            post(bigramKey(e.text[i], e.text[i + 1]));
    }
    pages_.push_back(std::move(e));
}

std::vector<std::size_t> PageSearch::find(std::string_view queryUtf8) const {
    const auto words = terms(queryUtf8);
    if (words.empty()) return {};
    // Candidates: the rarest key of every term narrows; the text confirms.
    std::vector<std::uint32_t> candidates;
    bool first = true;
    for (const auto& w : words) {
        const std::vector<std::uint32_t>* rarest = nullptr;
        static const std::vector<std::uint32_t> kNone;
        auto consider = [&](std::uint64_t key) {
            const auto it = postings_.find(key);
            const auto* list = it == postings_.end() ? &kNone : &it->second;
            if (!rarest || list->size() < rarest->size()) rarest = list;
        };
        if (w.size() == 1) consider(unigramKey(w[0]));
        for (std::size_t i = 0; i + 1 < w.size(); ++i) consider(bigramKey(w[i], w[i + 1]));
        if (first) {
            candidates = *rarest;
            first = false;
        } else {
            std::vector<std::uint32_t> both;
            std::set_intersection(candidates.begin(), candidates.end(), rarest->begin(),
                                  rarest->end(), std::back_inserter(both));
            candidates.swap(both);
        }
    }
    std::vector<std::size_t> inTitle, inBody;
    for (std::uint32_t c : candidates) {
        const Entry& e = pages_[c];
        bool all = true, titled = false;
        for (const auto& w : words) {
            if (e.text.find(w) == std::u32string::npos) {
                all = false;
                break;
            }
            titled = titled || e.title.find(w) != std::u32string::npos;
        }
        if (all) (titled ? inTitle : inBody).push_back(e.page);
    }
    inTitle.insert(inTitle.end(), inBody.begin(), inBody.end());
    return inTitle;
}

}  // namespace tarnbook::viewer
