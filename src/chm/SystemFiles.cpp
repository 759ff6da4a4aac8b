#include "chm/SystemFiles.h"

#include <algorithm>
#include <charconv>

#include "chm/ByteWriter.h"
#include "chm/StringTable.h"

namespace tarnbook::chm {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::size_t kBlock = 4096;
constexpr std::size_t kUrlEntry = 12;
constexpr std::size_t kUrlEntriesPerBlock = kBlock / kUrlEntry;  // 341, 4 bytes spare
constexpr std::uint32_t kWindowSize = 196;                       // the 1.1 window structure

std::string field(const WindowDefinition& w, std::size_t index) {
    return index < w.fields.size() ? w.fields[index] : std::string();
}

std::uint32_t number(const std::string& text) {
    return parseProjectNumber(text).value_or(0);
}

// FILETIME: 100 ns ticks since 1601.
std::uint64_t fileTime(std::uint32_t unixSeconds) {
    return (std::uint64_t{unixSeconds} + 11644473600ull) * 10000000ull;
}

std::string lowerBase(const std::string& name) {
    std::string out = name;
    for (auto& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

void putRecord(std::string& out, std::uint16_t code, const std::string& data) {
    putU16(out, code);
    putU16(out, static_cast<std::uint16_t>(data.size()));
    out += data;
}

std::string cString(const std::string& s) {
    return s + std::string(1, '\0');
}

std::string u32(std::uint32_t v) {
    std::string s;
    putU32(s, v);
    return s;
}

struct Rect {
    std::uint32_t v[4] = {0, 0, 0, 0};
    bool given = false;
};

Rect parseRect(const std::string& text) {
    Rect r;
    std::string t = text;
    t.erase(
        std::remove_if(t.begin(), t.end(), [](char c) { return c == '[' || c == ']' || c == ' '; }),
        t.end());
    if (t.empty()) return r;
    r.given = true;
    std::size_t start = 0;
    for (int i = 0; i < 4 && start <= t.size(); ++i) {
        const std::size_t comma = t.find(',', start);
        r.v[i] =
            number(t.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return r;
}

std::string windowEntry(const WindowDefinition& w, StringTable& strings) {
    // Strings are stored in the order the Workshop compiler adds them.
    const std::uint32_t name = strings.add(w.name);
    const std::uint32_t caption = strings.add(field(w, 0));
    const std::uint32_t toc = strings.add(field(w, 1));
    const std::uint32_t index = strings.add(field(w, 2));
    const std::uint32_t file = strings.add(field(w, 3));
    const std::uint32_t home = strings.add(field(w, 4));
    const std::uint32_t jump1Url = strings.add(field(w, 5));
    const std::uint32_t jump1Text = strings.add(field(w, 6));
    const std::uint32_t jump2Url = strings.add(field(w, 7));
    const std::uint32_t jump2Text = strings.add(field(w, 8));

    std::uint32_t valid = 0;
    auto given = [&](std::size_t i, std::uint32_t bit) {
        if (!field(w, i).empty()) valid |= bit;
    };
    given(9, 0x2);     // navigation pane style
    given(13, 0x4);    // window style
    given(14, 0x8);    // extended style
    given(10, 0x20);   // navigation width
    given(15, 0x40);   // show state
    given(11, 0x100);  // buttons
    given(16, 0x200);  // navigation closed
    given(17, 0x2000);
    given(18, 0x400);
    given(19, 0x400);  // the Workshop compiler marks the tab position valid with this field too
    const Rect rect = parseRect(field(w, 12));
    if (rect.given) valid |= 0x10;

    std::string e;
    putU32(e, kWindowSize);
    putU32(e, 0);  // 8-bit strings
    putU32(e, name);
    putU32(e, valid);
    putU32(e, number(field(w, 9)));
    putU32(e, caption);
    putU32(e, number(field(w, 13)));
    putU32(e, number(field(w, 14)));
    for (auto v : rect.v) putU32(e, v);
    putU32(e, number(field(w, 15)));
    for (int i = 0; i < 6; ++i) putU32(e, 0);  // window handles and info types, filled at run time
    putU32(e, number(field(w, 10)));
    for (int i = 0; i < 4; ++i) putU32(e, 0);  // topic pane rectangle
    putU32(e, toc);
    putU32(e, index);
    putU32(e, file);
    putU32(e, home);
    putU32(e, number(field(w, 11)));
    putU32(e, number(field(w, 16)));
    putU32(e, number(field(w, 17)));
    putU32(e, number(field(w, 18)));
    putU32(e, number(field(w, 19)));
    e.append(20, '\0');  // tab order
    putU32(e, 0);        // history count
    putU32(e, jump1Text);
    putU32(e, jump2Text);
    putU32(e, jump1Url);
    putU32(e, jump2Url);
    e.append(16, '\0');  // minimum size
    putU32(e, 0);
    putU32(e, 0);
    return e;
}

struct UrlFiles {
    std::string table;                        // #URLTBL
    std::string strings;                      // #URLSTR
    std::vector<std::uint32_t> tableOffsets;  // per topic
};

UrlFiles urlFiles(const std::vector<Topic>& topics) {
    UrlFiles out;
    out.strings.push_back('\0');
    struct Row {
        std::uint32_t id;
        std::uint32_t topic;
        std::uint32_t stringOffset;
    };
    std::vector<Row> rows;
    for (std::size_t i = 0; i < topics.size(); ++i) {
        rows.push_back({topicUrlId(topics[i].local), static_cast<std::uint32_t>(i),
                        static_cast<std::uint32_t>(out.strings.size())});
        putU32(out.strings, 0);  // full URL (merged files only)
        putU32(out.strings, 0);  // frame name
        out.strings += cString(topics[i].local);
    }
    // Sorted by id so that a reader can search it.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.id < b.id; });
    out.tableOffsets.assign(topics.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0 && i % kUrlEntriesPerBlock == 0)
            out.table.append(kBlock - out.table.size() % kBlock, '\0');
        out.tableOffsets[rows[i].topic] = static_cast<std::uint32_t>(out.table.size());
        putU32(out.table, rows[i].id);
        putU32(out.table, rows[i].topic);
        putU32(out.table, rows[i].stringOffset);
    }
    return out;
}

std::string idxHeader(const SystemInput& in, StringTable& strings, std::uint32_t topicCount) {
    const SiteProperties& s = in.site;
    auto stringOrNone = [&](const std::string& t) { return t.empty() ? kNone : strings.add(t); };
    std::string h = "T#SM";
    putU32(h, in.timestamp);
    putU32(h, 1);
    putU32(h, topicCount);
    putU32(h, 0);
    putU32(h, stringOrNone(s.imageList));
    putU32(h, 0);
    putU32(h, s.folderImages ? 1 : 0);
    putU32(h, s.background.value_or(kNone));
    putU32(h, s.foreground.value_or(kNone));
    putU32(h, stringOrNone(s.font));
    putU32(h, s.windowStyles.value_or(kNone));
    putU32(h, s.exWindowStyles.value_or(kNone));
    putU32(h, kNone);
    putU32(h, stringOrNone(s.frameName));
    putU32(h, stringOrNone(s.windowName));
    putU32(h, 0);  // information types
    putU32(h, 1);
    putU32(h, static_cast<std::uint32_t>(in.mergeFiles.size()));
    putU32(h, 0);
    for (const auto& m : in.mergeFiles) {
        if (h.size() + 4 > kBlock) break;
        putU32(h, strings.add(m));
    }
    h.resize(kBlock, '\0');
    return h;
}

std::string systemFile(const SystemInput& in, const std::string& idxhdr) {
    std::string s;
    putU32(s, 3);  // "Compatibility=1.1 or later"
    putRecord(s, 10, u32(in.timestamp));
    putRecord(s, 9, cString("HHA Version 4.74.8702"));
    std::string flags;
    putU32(flags, in.languageId);
    putU32(flags, 0);  // the Workshop compiler leaves the DBCS flag clear, also for Japanese
    putU32(flags, in.fullTextSearch ? 1 : 0);
    putU32(flags, in.keywordLinks ? 1 : 0);
    putU32(flags, in.associativeLinks ? 1 : 0);
    putU64(flags, fileTime(in.timestamp));
    putU32(flags, 0);
    putU32(flags, 0);
    putRecord(s, 4, flags);
    if (!in.defaultTopic.empty()) putRecord(s, 2, cString(in.defaultTopic));
    if (!in.title.empty()) putRecord(s, 3, cString(in.title));
    if (!in.defaultFont.empty()) putRecord(s, 16, cString(in.defaultFont));
    putRecord(s, 6, cString(lowerBase(in.compiledName)));
    if (!in.defaultWindow.empty()) {
        putRecord(s, 5, cString(in.defaultWindow));
    } else {
        // Without a window the viewer finds the sitemaps only here.
        if (!in.contentsFile.empty()) putRecord(s, 0, cString(in.contentsFile));
        if (!in.indexFile.empty()) putRecord(s, 1, cString(in.indexFile));
    }
    // The viewer finds the index file's topic by this id when the index is binary.
    if (in.binaryIndex && !in.indexFile.empty()) putRecord(s, 7, u32(topicUrlId(in.indexFile)));
    putRecord(s, 12, u32(0));  // information types
    putRecord(s, 13, idxhdr);
    putRecord(s, 15, u32(0));  // information type checksum
    return s;
}

}  // namespace

std::optional<std::uint32_t> parseProjectNumber(const std::string& text) {
    std::string t = text;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.erase(0, 1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.erase(0, 2);
    }
    if (t.empty()) return std::nullopt;
    std::uint32_t v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, base);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return v;
}

std::uint32_t topicUrlId(const std::string& local) {
    // The name read as a number in base 43 with '0' as the zero digit, modulo 2^32, after
    // ASCII from '_' up was moved down by 0x20 (letters to upper case, '_' to '?') and '/'
    // became '\\', as the Workshop compiler numbers its URLs.
    std::uint32_t h = 0;
    for (char ch : local) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '/') c = '\\';
        if (c >= '_' && c < 0x80) c -= 0x20;
        h = h * 43 + (static_cast<std::uint32_t>(c) - '0');
    }
    return h;
}

std::vector<ChmFile> buildSystemFiles(const SystemInput& in) {
    StringTable strings;
    std::string windows;
    putU32(windows, static_cast<std::uint32_t>(in.windows.size()));
    putU32(windows, kWindowSize);
    for (const auto& w : in.windows) windows += windowEntry(w, strings);

    // Alias targets come before the titles in #STRINGS.
    std::vector<ContextAlias> aliases = in.aliases;
    std::stable_sort(
        aliases.begin(), aliases.end(),
        [](const ContextAlias& a, const ContextAlias& b) { return a.number < b.number; });
    std::string ivb;
    putU32(ivb, static_cast<std::uint32_t>(aliases.size() * 8));
    for (const auto& a : aliases) {
        putU32(ivb, a.number);
        putU32(ivb, strings.add(a.target));
    }

    std::vector<std::uint32_t> contentsOffsets;
    for (const auto& text : in.contentsStrings) contentsOffsets.push_back(strings.add(text, false));

    const UrlFiles urls = urlFiles(in.topics);
    // Places in the binary contents, recorded even when it is not written.
    const auto tocEntries =
        layoutBinaryToc(in.contents, [](const std::string&) { return 0u; }).topicEntries;
    std::string topics;
    for (std::size_t i = 0; i < in.topics.size(); ++i) {
        const Topic& t = in.topics[i];
        std::uint32_t title = kNone;
        if (t.contentsString && *t.contentsString < contentsOffsets.size())
            title = contentsOffsets[*t.contentsString];
        else if (!t.title.empty())
            title = strings.add(t.title, false);
        const auto entry = tocEntries.find(static_cast<std::uint32_t>(i));
        putU32(topics, entry == tocEntries.end() ? 0 : entry->second);
        putU32(topics, title);
        putU32(topics, urls.tableOffsets[i]);
        putU16(topics, t.inContents ? 6 : 2);
        putU16(topics, 0);
    }

    const std::string idxhdr = idxHeader(in, strings, static_cast<std::uint32_t>(in.topics.size()));
    std::string tocidx;
    if (in.binaryToc)
        tocidx = layoutBinaryToc(in.contents, [&](const std::string& name) {
                     return strings.add(name);
                 }).bytes;

    std::vector<ChmFile> files;
    files.push_back({"/#SYSTEM", systemFile(in, idxhdr), false});
    files.push_back({"/#ITBITS", "", false});
    files.push_back({"/#IDXHDR", idxhdr, true});
    files.push_back({"/#WINDOWS", windows, true});
    files.push_back({"/#TOPICS", topics, true});
    files.push_back({"/#URLTBL", urls.table, true});
    files.push_back({"/#URLSTR", urls.strings, true});
    if (!aliases.empty()) files.push_back({"/#IVB", ivb, true});
    if (in.binaryToc) files.push_back({"/#TOCIDX", tocidx, true});
    files.push_back({"/#STRINGS", strings.bytes(), true});
    return files;
}

}  // namespace tarnbook::chm
