#include "hhc/HhpFile.h"

#include "platform/Files.h"

namespace tarnbook::hhc {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

unsigned char lowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

// "[name]" (blanks around allowed) -> name; false for anything else.
bool sectionHeader(std::string_view line, std::string* name) {
    const std::string t = trimBlanks(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
    *name = trimBlanks(std::string_view(t).substr(1, t.size() - 2));
    return true;
}

}  // namespace

std::string trimBlanks(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    return std::string(text.substr(b, e - b));
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(static_cast<unsigned char>(a[i])) !=
            lowerAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool splitKeyValue(std::string_view line, std::string* key, std::string* value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    *key = trimBlanks(line.substr(0, eq));
    *value = trimBlanks(line.substr(eq + 1));
    return true;
}

HhpFile HhpFile::parse(std::string_view bytes) {
    while (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    HhpFile file;
    HhpSection* current = nullptr;
    for (auto& line : platform::splitLines(bytes)) {
        std::string name;
        if (sectionHeader(line, &name)) {
            file.sections_.push_back(HhpSection{name, {}});
            current = &file.sections_.back();
        } else if (current) {
            current->lines.push_back(std::move(line));
        } else {
            file.preamble_.push_back(std::move(line));
        }
    }
    return file;
}

std::string HhpFile::toBytes() const {
    std::string out;
    for (const auto& line : preamble_) out += line + "\r\n";
    for (const auto& s : sections_) {
        out += "[" + s.name + "]\r\n";
        for (const auto& line : s.lines) out += line + "\r\n";
    }
    return out;
}

HhpSection* HhpFile::section(std::string_view name) {
    for (auto& s : sections_)
        if (equalsNoCase(s.name, name)) return &s;
    return nullptr;
}

const HhpSection* HhpFile::section(std::string_view name) const {
    for (const auto& s : sections_)
        if (equalsNoCase(s.name, name)) return &s;
    return nullptr;
}

HhpSection& HhpFile::sectionForWrite(std::string_view name) {
    if (auto* s = section(name)) return *s;
    sections_.push_back(HhpSection{std::string(name), {}});
    return sections_.back();
}

std::optional<std::string> HhpFile::option(std::string_view key) const {
    const auto* s = section("OPTIONS");
    if (!s) return std::nullopt;
    for (const auto& line : s->lines) {
        std::string k, v;
        if (splitKeyValue(line, &k, &v) && equalsNoCase(k, key)) return v;
    }
    return std::nullopt;
}

void HhpFile::setOption(std::string_view key, std::string_view value) {
    auto& s = sectionForWrite("OPTIONS");
    const std::string line = std::string(key) + "=" + std::string(value);
    for (auto& l : s.lines) {
        std::string k, v;
        if (splitKeyValue(l, &k, &v) && equalsNoCase(k, key)) {
            l = line;
            return;
        }
    }
    // Keep the new key ahead of trailing blank lines so the section still reads as one block.
    auto pos = s.lines.end();
    while (pos != s.lines.begin() && trimBlanks(*(pos - 1)).empty()) --pos;
    s.lines.insert(pos, line);
}

void HhpFile::removeOption(std::string_view key) {
    auto* s = section("OPTIONS");
    if (!s) return;
    std::erase_if(s->lines, [&](const std::string& l) {
        std::string k, v;
        return splitKeyValue(l, &k, &v) && equalsNoCase(k, key);
    });
}

std::vector<std::string> splitWindowFields(std::string_view text) {
    std::vector<std::string> fields(1);
    bool inQuotes = false;
    int brackets = 0;
    for (char c : text) {
        if (c == '"') inQuotes = !inQuotes;
        if (!inQuotes && c == '[') ++brackets;
        if (!inQuotes && c == ']' && brackets > 0) --brackets;
        if (c == ',' && !inQuotes && brackets == 0) {
            fields.emplace_back();
            continue;
        }
        fields.back() += c;
    }
    return fields;
}

}  // namespace tarnbook::hhc
