#include "chm/FullTextIndex.h"

#include <algorithm>
#include <map>

#include "chm/ByteWriter.h"
#include "chm/HelpCodePage.h"

namespace tarnbook::chm {

namespace {

constexpr std::size_t kHeaderSize = 0x400;
constexpr std::size_t kNodeSize = 0x1000;
constexpr std::size_t kLeafHeader = 8;
constexpr std::size_t kIndexHeader = 2;
constexpr std::size_t kMaxWord = 100;
// Scale and root of the three kinds of numbers in the word location codes.
constexpr int kDocRoot = 1;
constexpr int kCountRoot = 1;
constexpr int kLocationRoot = 6;

bool isAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string lowerCase(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view p) {
    return s.size() >= at + p.size() && lowerCase(s.substr(at, p.size())) == p;
}

// MSB-first bit writer for the location codes.
class Bits {
  public:
    void put(std::uint64_t value, int count) {
        for (int i = count - 1; i >= 0; --i) bit((value >> i) & 1);
    }
    void bit(bool b) {
        if (used_ == 0) out_.push_back('\0');
        if (b) out_.back() = static_cast<char>(out_.back() | (0x80 >> used_));
        used_ = (used_ + 1) % 8;
    }
    void align() { used_ = 0; }
    // Scale-2 code: values below 2^root as "0" and root bits; larger ones as one "1" per bit
    // beyond the root, a "0", and the value without its top bit.
    void scaleRoot(std::uint64_t value, int root) {
        if (value < (std::uint64_t{1} << root)) {
            bit(false);
            put(value, root);
            return;
        }
        int top = 63;
        while (!((value >> top) & 1)) --top;
        for (int i = 0; i < top - root + 1; ++i) bit(true);
        bit(false);
        put(value, top);
    }
    std::string take() { return std::move(out_); }

  private:
    std::string out_;
    int used_ = 0;
};

struct Occurrences {
    std::uint32_t page;
    std::vector<std::uint32_t> positions;
};

using Postings = std::map<std::pair<std::string, int>, std::vector<Occurrences>>;

void addWords(Postings& postings, const std::string& text, std::uint32_t page, int context,
              std::uint32_t languageId) {
    std::uint32_t position = 0;
    for (const auto& w : indexWords(text, languageId)) {
        auto& list = postings[{w, context}];
        if (list.empty() || list.back().page != page) list.push_back({page, {}});
        list.back().positions.push_back(position++);
    }
}

std::string locationCodes(const std::vector<Occurrences>& list) {
    Bits bits;
    std::uint32_t lastPage = 0;
    for (const auto& o : list) {
        bits.align();
        bits.scaleRoot(o.page - lastPage, kDocRoot);
        lastPage = o.page;
        bits.scaleRoot(o.positions.size(), kCountRoot);
        std::uint32_t last = 0;
        for (auto p : o.positions) {
            bits.scaleRoot(p - last, kLocationRoot);
            last = p;
        }
    }
    return bits.take();
}

std::size_t sharedPrefix(const std::string& a, const std::string& b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && n < 255 && a[n] == b[n]) ++n;
    return n;
}

struct LeafEntry {
    std::string word;
    int context;
    std::size_t count;
    std::string codes;
};

std::size_t leafEntrySize(const LeafEntry& e, std::size_t prefix) {
    return 2 + (e.word.size() - prefix) + 1 + encInt(e.count).size() + 4 + 2 +
           encInt(e.codes.size()).size();
}

}  // namespace

std::string visibleText(const std::string& html) {
    std::string out;
    std::size_t i = 0;
    auto skipPast = [&](std::string_view end) {
        const std::size_t at = lowerCase(html).find(end, i);
        i = at == std::string::npos ? html.size() : at + end.size();
    };
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            if (html.compare(i, 4, "<!--") == 0) {
                skipPast("-->");
            } else {
                const bool script = startsWithNoCase(html, i, "<script");
                const bool style = startsWithNoCase(html, i, "<style");
                const bool title = startsWithNoCase(html, i, "<title");
                skipPast(">");
                if (script) skipPast("</script");
                if (style) skipPast("</style");
                if (title) skipPast("</title");
            }
            out.push_back(' ');
            continue;
        }
        if (c == '&') {
            const std::size_t semi = html.find(';', i);
            if (semi != std::string::npos && semi - i <= 8) {
                const std::string name =
                    lowerCase(std::string_view(html).substr(i + 1, semi - i - 1));
                char resolved = ' ';
                if (name == "amp") resolved = '&';
                if (name.size() > 1 && name[0] == '#') {
                    const int code = name[1] == 'x' ? std::stoi("0" + name.substr(2), nullptr, 16)
                                                    : std::atoi(name.c_str() + 1);
                    if (code > 0 && code < 128) resolved = static_cast<char>(code);
                }
                out.push_back(resolved);
                i = semi + 1;
                continue;
            }
        }
        out.push_back(c);
        ++i;
    }
    return out;
}

std::vector<std::string> indexWords(const std::string& text, std::uint32_t languageId) {
    std::vector<std::string> words;
    std::string current;
    const bool doubleByte = isLeadByte(0x81, languageId);
    auto flush = [&] {
        if (!current.empty()) words.push_back(current.substr(0, kMaxWord));
        current.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (isLeadByte(c, languageId) && i + 1 < text.size()) {
            flush();
            words.push_back(text.substr(i, 2));
            ++i;
        } else if (isAsciiAlnum(c) || (c >= 0x80 && !doubleByte) ||
                   (doubleByte && c >= 0xA1 && c <= 0xDF && (languageId & 0x3FF) == 0x11)) {
            current.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32)
                                                     : static_cast<char>(c));
        } else if (c == '.' && !current.empty() && current.back() >= '0' && current.back() <= '9' &&
                   i + 1 < text.size() && isAsciiAlnum(static_cast<unsigned char>(text[i + 1]))) {
            current.push_back('.');
        } else {
            flush();
        }
    }
    flush();
    return words;
}

std::string buildFullTextIndex(const std::vector<IndexedPage>& pages, std::uint32_t languageId) {
    Postings postings;
    std::uint32_t indexed = 0;
    for (std::uint32_t p = 0; p < pages.size(); ++p) {
        if (pages[p].html.empty() && pages[p].title.empty()) continue;
        ++indexed;
        addWords(postings, visibleText(pages[p].html), p, 0, languageId);
        addWords(postings, pages[p].title, p, 1, languageId);
    }
    std::vector<LeafEntry> entries;
    std::size_t occurrences = 0, longest = 0;
    for (const auto& [key, list] : postings) {
        entries.push_back({key.first, key.second, list.size(), locationCodes(list)});
        for (const auto& o : list) occurrences += o.positions.size();
        longest = std::max(longest, key.first.size());
    }

    // Leaves of sorted words; each leaf's location codes come just before it.
    struct Leaf {
        std::size_t first = 0, last = 0;  // entry range [first, last)
        std::size_t codesOffset = 0, nodeOffset = 0;
    };
    std::vector<Leaf> leaves;
    std::size_t used = kNodeSize;  // forces a first leaf
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t prefix =
            used == kNodeSize || i == 0 ? 0 : sharedPrefix(entries[i - 1].word, entries[i].word);
        std::size_t size = leafEntrySize(entries[i], prefix);
        if (leaves.empty() || used + size > kNodeSize) {
            leaves.push_back({i, i, 0, 0});
            used = kLeafHeader;
            size = leafEntrySize(entries[i], 0);
        }
        used += size;
        leaves.back().last = i + 1;
    }
    std::size_t at = kHeaderSize;
    for (auto& leaf : leaves) {
        leaf.codesOffset = at;
        for (std::size_t i = leaf.first; i < leaf.last; ++i) at += entries[i].codes.size();
        leaf.nodeOffset = at;
        at += kNodeSize;
    }

    std::string out(kHeaderSize, '\0');
    for (std::size_t l = 0; l < leaves.size(); ++l) {
        const Leaf& leaf = leaves[l];
        std::size_t codes = leaf.codesOffset;
        for (std::size_t i = leaf.first; i < leaf.last; ++i) out += entries[i].codes;
        std::string node;
        putU32(node,
               static_cast<std::uint32_t>(l + 1 < leaves.size() ? leaves[l + 1].nodeOffset : 0));
        putU16(node, 0);
        putU16(node, 0);  // free space, set below
        for (std::size_t i = leaf.first; i < leaf.last; ++i) {
            const LeafEntry& e = entries[i];
            const std::size_t prefix =
                i == leaf.first ? 0 : sharedPrefix(entries[i - 1].word, e.word);
            putU8(node, static_cast<std::uint8_t>(e.word.size() - prefix + 1));
            putU8(node, static_cast<std::uint8_t>(prefix));
            node += e.word.substr(prefix);
            putU8(node, static_cast<std::uint8_t>(e.context));
            node += encInt(e.count);
            putU32(node, static_cast<std::uint32_t>(codes));
            putU16(node, 0);
            node += encInt(e.codes.size());
            codes += e.codes.size();
        }
        const auto free = static_cast<std::uint16_t>(kNodeSize - node.size());
        node[6] = static_cast<char>(free & 0xFF);
        node[7] = static_cast<char>(free >> 8);
        node.resize(kNodeSize, '\0');
        out += node;
    }

    // One index node naming the last word of each leaf; more levels when it overflows.
    struct Child {
        std::string lastWord;
        std::size_t offset;
    };
    std::vector<Child> level;
    for (const auto& leaf : leaves) level.push_back({entries[leaf.last - 1].word, leaf.nodeOffset});
    std::uint16_t depth = 1;
    std::size_t root = leaves.empty() ? 0 : leaves.front().nodeOffset;
    while (level.size() > 1) {
        std::vector<Child> next;
        std::string node;
        std::string previous;
        auto finish = [&] {
            const auto free = static_cast<std::uint16_t>(kNodeSize - node.size() - kIndexHeader);
            std::string full;
            putU16(full, free);
            full += node;
            full.resize(kNodeSize, '\0');
            next.push_back({previous, out.size()});
            out += full;
            node.clear();
        };
        for (const auto& child : level) {
            std::size_t prefix = node.empty() ? 0 : sharedPrefix(previous, child.lastWord);
            if (kIndexHeader + node.size() + 2 + child.lastWord.size() - prefix + 6 > kNodeSize) {
                finish();
                prefix = 0;
            }
            putU8(node, static_cast<std::uint8_t>(child.lastWord.size() - prefix + 1));
            putU8(node, static_cast<std::uint8_t>(prefix));
            node += child.lastWord.substr(prefix);
            putU32(node, static_cast<std::uint32_t>(child.offset));
            putU16(node, 0);
            previous = child.lastWord;
        }
        finish();
        level = std::move(next);
        root = level.front().offset;
        ++depth;
    }

    std::string header;
    putU32(header, 0x00280000);
    putU32(header, indexed);
    putU32(header, static_cast<std::uint32_t>(root));
    putU32(header, 0);
    putU32(header, static_cast<std::uint32_t>(leaves.size()));
    putU32(header, static_cast<std::uint32_t>(root));
    putU16(header, depth);
    putU16(header, 7);
    putU16(header, 0);
    for (int root8 : {kDocRoot, kCountRoot, kLocationRoot}) {
        putU8(header, 2);
        putU8(header, static_cast<std::uint8_t>(root8));
    }
    header.append(10, '\0');
    putU32(header, kNodeSize);
    putU32(header, 1);
    putU32(header, static_cast<std::uint32_t>(occurrences));
    putU32(header, static_cast<std::uint32_t>(entries.size()));
    putU32(header, static_cast<std::uint32_t>(longest));
    std::copy(header.begin(), header.end(), out.begin());
    return out;
}

}  // namespace tarnbook::chm
