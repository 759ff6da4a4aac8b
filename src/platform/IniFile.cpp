#include "platform/IniFile.h"

#include <climits>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"

namespace tarnbook::platform {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Equal without regard to ASCII case; the bytes of a double-byte character compare exactly.
bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(a[i]);
        if (isLeadByte(c) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

// A line break inside a name or value would split it into other lines on the next read.
std::string oneLine(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// The last ']' of a section line that is not the trail byte of a double-byte character
// (names such as 0x83 0x5D end in one).
std::size_t lastCloseBracket(std::string_view s) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (s[i] == ']') found = i;
    }
    return found;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Names the file can hold: anything else would read back as another line, another key or a
// comment.
bool storableSection(std::string_view name) {
    return !hasLineBreak(name);
}
bool storableKey(std::string_view key) {
    return !key.empty() && !hasLineBreak(key) && key.find('=') == std::string_view::npos &&
           key.front() != ';' && key.front() != '[';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

IniFile IniFile::fromBytes(std::string_view bytes) {
    // Editors may have added a byte order mark (or several); none is written back.
    while (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    IniFile ini;
    Section* current = nullptr;
    for (std::string& line : splitLines(bytes)) {
        std::string_view t = trim(line);
        if (!t.empty() && t.front() == '[') {
            std::string_view name = t.substr(1);
            // A line ending in ']' closes there even after a lone lead byte, so that every
            // name written as "[name]" reads back unchanged.
            std::size_t close =
                !name.empty() && name.back() == ']' ? name.size() - 1 : lastCloseBracket(name);
            if (close != std::string_view::npos) name = name.substr(0, close);
            name = trim(name);
            // A repeated section continues the first one, which is the one readers use.
            current = ini.findSection(name);
            if (!current) {
                ini.sections_.push_back(Section{std::string(name), {}});
                current = &ini.sections_.back();
            }
            continue;
        }
        if (!current) {
            ini.preamble_.push_back(std::move(line));
            continue;
        }
        // Empty lines are not kept: the writer puts one after each section.
        if (t.empty()) continue;
        Entry entry;
        std::size_t eq = line.find('=');
        if (t.front() != ';' && eq != std::string::npos && !trim(line.substr(0, eq)).empty()) {
            entry.key = std::string(trim(std::string_view(line).substr(0, eq)));
            entry.value = line.substr(eq + 1);
        }
        entry.raw = std::move(line);
        current->entries.push_back(std::move(entry));
    }
    while (!ini.preamble_.empty() && trim(ini.preamble_.back()).empty()) ini.preamble_.pop_back();
    return ini;
}

IniFile IniFile::load(std::string_view path) {
    IniFile ini;
    if (pathExists(path)) ini = fromBytes(readFile(path));
    ini.path_ = std::string(path);
    return ini;
}

std::string IniFile::toBytes() const {
    std::vector<std::string> lines = preamble_;
    for (const Section& s : sections_) {
        lines.push_back("[" + s.name + "]");
        for (const Entry& e : s.entries) {
            // An entry read from the file and not changed since keeps its exact line.
            if (!e.raw.empty())
                lines.push_back(e.raw);
            else
                lines.push_back(e.key + "=" + e.value);
        }
        lines.emplace_back();
    }
    return joinLinesCrLf(lines);
}

void IniFile::saveAs(std::string_view path) const {
    if (path.empty()) throw IoError("Cannot save settings: no file name");
    writeFileAtomic(path, toBytes());
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
    name = trim(name);
    for (const Section& s : sections_)
        if (equalNoCase(s.name, name)) return &s;
    return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view name) {
    name = trim(name);
    for (Section& s : sections_)
        if (equalNoCase(s.name, name)) return &s;
    return nullptr;
}

IniFile::Section& IniFile::sectionForWrite(std::string_view name) {
    if (Section* s = findSection(name)) return *s;
    sections_.push_back(Section{std::string(trim(name)), {}});
    return sections_.back();
}

const IniFile::Entry* IniFile::findEntry(const Section& s, std::string_view key) {
    key = trim(key);
    if (key.empty()) return nullptr;
    for (const Entry& e : s.entries)
        if (!e.key.empty() && equalNoCase(e.key, key)) return &e;
    return nullptr;
}

bool IniFile::sectionExists(std::string_view section) const {
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(std::string_view section, std::string_view key) const {
    const Section* s = findSection(section);
    return s && findEntry(*s, key);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    const Section* s = findSection(section);
    const Entry* e = s ? findEntry(*s, key) : nullptr;
    return e ? e->value : std::string(def);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int def) const {
    const Section* s = findSection(section);
    const Entry* e = s ? findEntry(*s, key) : nullptr;
    long long v = 0;
    if (!e || !parseInteger(e->value, &v) || v < INT_MIN || v > INT_MAX) return def;
    return static_cast<int>(v);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const {
    const Section* s = findSection(section);
    const Entry* e = s ? findEntry(*s, key) : nullptr;
    long long v = 0;
    if (!e || !parseInteger(e->value, &v)) return def;
    return v != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    std::string_view k = trim(key);
    if (!storableKey(k) || !storableSection(section)) return;
    Section& s = sectionForWrite(section);
    if (Entry* e = const_cast<Entry*>(findEntry(s, k))) {
        e->value = oneLine(value);
        e->raw.clear();
        return;
    }
    s.entries.push_back(Entry{std::string(k), oneLine(value), {}});
}

void IniFile::writeInteger(std::string_view section, std::string_view key, long long value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::eraseKey(std::string_view section, std::string_view key) {
    Section* s = findSection(section);
    key = trim(key);
    if (!s || key.empty()) return;
    std::erase_if(s->entries,
                  [&](const Entry& e) { return !e.key.empty() && equalNoCase(e.key, key); });
}

void IniFile::eraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const Section& s) { return equalNoCase(s.name, section); });
}

std::vector<std::string> IniFile::sectionNames() const {
    std::vector<std::string> out;
    for (const Section& s : sections_) out.push_back(s.name);
    return out;
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const {
    std::vector<std::string> out;
    const Section* s = findSection(section);
    if (!s) return out;
    for (const Entry& e : s->entries) {
        if (e.key.empty() || findEntry(*s, e.key) != &e) continue;  // duplicates once
        out.push_back(e.key);
    }
    return out;
}

std::vector<std::string> IniFile::sectionLines(std::string_view section) const {
    std::vector<std::string> out;
    const Section* s = findSection(section);
    if (!s) return out;
    for (const Entry& e : s->entries) out.push_back(e.raw.empty() ? e.key + "=" + e.value : e.raw);
    return out;
}

bool IniFile::parseInteger(std::string_view text, long long* value) {
    std::string_view t = trim(text);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    int base = 10;
    if (!t.empty() && t.front() == '$') {
        base = 16;
        t.remove_prefix(1);
    } else if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    }
    if (t.empty()) return false;
    // Accumulate as a negative number so that LLONG_MIN fits.
    long long acc = 0;
    for (char c : t) {
        int d = base == 16 ? hexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (d < 0) return false;
        if (acc < (LLONG_MIN + d) / base) return false;
        acc = acc * base - d;
    }
    if (!negative) {
        if (acc == LLONG_MIN) return false;
        acc = -acc;
    }
    if (value) *value = acc;
    return true;
}

}  // namespace tarnbook::platform
