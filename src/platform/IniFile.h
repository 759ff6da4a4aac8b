#pragma once
#include <string>
#include <string_view>
#include <vector>

// INI text as the project and settings files use it: section and key names compared without
// regard to ASCII case; a value is everything after the first '='; booleans written 1/0 and
// read as true when non-zero; integers decimal; a missing key yields the caller's default.
// The whole object is written back with sections and keys in first-creation order, one empty
// line after each section, CR LF, as CP932 bytes. Lines that are not "key=value" (comments)
// and duplicate keys are kept as they are; reads and writes use the first of duplicates.
namespace tarnbook::platform {

class IniFile {
  public:
    IniFile() = default;
    static IniFile fromBytes(std::string_view bytes);
    // Loads the file when it exists (an absent file gives an empty object). Throws IoError
    // for a file that exists but cannot be read.
    static IniFile load(std::string_view path);

    std::string toBytes() const;
    void saveAs(std::string_view path) const;  // atomic
    void save() const { saveAs(path_); }
    const std::string& path() const { return path_; }
    void setPath(std::string_view path) { path_ = std::string(path); }

    bool sectionExists(std::string_view section) const;
    bool valueExists(std::string_view section, std::string_view key) const;

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def = {}) const;
    int readInteger(std::string_view section, std::string_view key, int def = 0) const;
    bool readBool(std::string_view section, std::string_view key, bool def = false) const;

    // Line breaks in a value become spaces. A key the file cannot hold (empty, containing '='
    // or a line break, or starting with ';' or '[') or a section name with a line break is
    // not written.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, long long value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    void eraseKey(std::string_view section, std::string_view key);
    void eraseSection(std::string_view section);

    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keyNames(std::string_view section) const;
    // The raw lines of a section (keys with values, comments) as stored.
    std::vector<std::string> sectionLines(std::string_view section) const;

    // Parses an integer the way the readers do: optional spaces and sign, decimal digits, or
    // "$"/"0x" hexadecimal. Returns false for anything else.
    static bool parseInteger(std::string_view text, long long* value);

  private:
    struct Entry {
        std::string key;  // empty for a line without '='
        std::string value;
        std::string raw;  // the line as read (kept until the value changes)
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
    Section& sectionForWrite(std::string_view name);
    static const Entry* findEntry(const Section& s, std::string_view key);

    std::vector<std::string> preamble_;  // lines before the first section
    std::vector<Section> sections_;
    std::string path_;
};

}  // namespace tarnbook::platform
