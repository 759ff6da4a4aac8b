#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A Workshop project file (.hhp) held as sections of raw lines, so that a copy can be adapted
// for the compiler back end and written out again without losing anything it does not touch.
// The bytes stay as they are (CP932 for our own projects, any 8-bit text for foreign ones).
namespace tarnbook::hhc {

struct HhpSection {
    std::string name;                // as written between the brackets, trimmed
    std::vector<std::string> lines;  // the lines after the header, without line ends
};

class HhpFile {
  public:
    // Never fails: leading UTF-8 byte-order marks are dropped, lines end at CR LF, LF or CR,
    // and a line of the form "[name]" starts a section. Lines before the first section are
    // kept as the preamble.
    static HhpFile parse(std::string_view bytes);

    // Lines joined with CR LF, each section preceded by its "[name]" line.
    std::string toBytes() const;

    std::vector<std::string>& preamble() { return preamble_; }
    const std::vector<std::string>& preamble() const { return preamble_; }
    std::vector<HhpSection>& sections() { return sections_; }
    const std::vector<HhpSection>& sections() const { return sections_; }

    // The first section of this name (ASCII case ignored), or nullptr.
    HhpSection* section(std::string_view name);
    const HhpSection* section(std::string_view name) const;
    // The section, appended at the end when missing.
    HhpSection& sectionForWrite(std::string_view name);

    // Value of a "key=value" line of [OPTIONS] (key compared trimmed, ASCII case ignored); the
    // value is trimmed of blanks. nullopt when the key is absent.
    std::optional<std::string> option(std::string_view key) const;
    // Replaces the value of the first such line, or appends "key=value" to [OPTIONS].
    void setOption(std::string_view key, std::string_view value);
    // Removes every line of [OPTIONS] with this key.
    void removeOption(std::string_view key);

  private:
    std::vector<std::string> preamble_;
    std::vector<HhpSection> sections_;
};

// Helpers shared by the adapter: blank trimming, ASCII case-insensitive comparison and the
// "key=value" split (false for a line without '=').
std::string trimBlanks(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool splitKeyValue(std::string_view line, std::string* key, std::string* value);
// The fields of a [WINDOWS] definition (the text after "="), split at commas outside quotes
// and brackets; the fields keep their quotes and blanks.
std::vector<std::string> splitWindowFields(std::string_view text);

}  // namespace tarnbook::hhc
