#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Messages of the compiler driver in the form the compile log reader knows:
// "HHCnnnn: Warning: text" or "HHCnnnn: Error: text".
namespace tarnbook::hhc {

enum class Severity { Warning, Error };

// The numbers used. Each is the nearest entry of the log reader's explanation table; the
// mapping from the back end's messages is documented in HhcMessages.cpp.
namespace msg {
inline constexpr int kDuplicateFile = 4006;      // a file listed more than once
inline constexpr int kBadContextId = 4014;       // [MAP] id without alias, bad #define
inline constexpr int kCannotOpen = 4016;         // a named project file cannot be opened
inline constexpr int kCannotWrite = 5000;        // output cannot be created or written
inline constexpr int kCannotRead = 5001;         // input cannot be read
inline constexpr int kCannotCompileFile = 5003;  // a [FILES] entry cannot be compiled
inline constexpr int kBadContents = 5005;        // contents file cannot be loaded
inline constexpr int kBadIndex = 5008;           // index file cannot be loaded
inline constexpr int kFileNotFound = 5013;       // a referenced file or anchor is missing
inline constexpr int kInternal = 6000;           // back end failure, damaged output
inline constexpr int kUnclassified = 2000;       // no entry of the table fits (no explanation)
}  // namespace msg

struct HhcMessage {
    int number = 0;
    Severity severity = Severity::Warning;
    std::string text;

    std::string line() const;  // "HHC5013: Warning: text"
    bool operator==(const HhcMessage&) const = default;
};

// Maps one line of chmcmd's output. Lines that carry no finding for the author (notes, the
// banner, progress, stack addresses) give nullopt.
std::optional<HhcMessage> mapChmcmdLine(std::string_view line);
std::vector<HhcMessage> mapChmcmdOutput(std::string_view output);

// True when the page `reference` names (relative to `projectFolder`, either separator) defines
// the anchor after its '#' as a name or id. chmcmd's own check misses anchors of pages in
// sub-folders, so the driver drops its findings for anchors that do exist.
bool anchorIsDefined(const std::string& projectFolder, const std::string& reference);

// chmcmd's output without the "Anchor ... undefined" lines whose anchor is defined after all.
std::string withoutDefinedAnchors(std::string_view output, const std::string& projectFolder);

}  // namespace tarnbook::hhc
