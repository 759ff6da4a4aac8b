#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The WinHelp topic file (.rtf) read into topics: the footnotes that name them and a body of
// paragraphs of formatted runs, with jumps, popups and bitmap references marked. Text is
// UTF-16 (each run decoded from its font's code page); context IDs stay bytes.
namespace tarnbook::winhelp {

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;        // \ul: a popup when hidden text follows
    bool doubleUnderline = false;  // \uldb: a jump when hidden text follows
    bool strike = false;           // \strike: a jump when hidden text follows
    bool hidden = false;           // \v
    bool superscript = false;
    bool subscript = false;
    std::uint32_t color = 0xFFFFFFFF;  // 0xRRGGBB; all ones = the default colour

    bool hot() const { return underline || doubleUnderline || strike; }
    bool sameLook(const CharFormat& o) const {
        return bold == o.bold && italic == o.italic && underline == o.underline &&
               doubleUnderline == o.doubleUnderline && strike == o.strike &&
               superscript == o.superscript && subscript == o.subscript && color == o.color;
    }
};

// Jump and Popup name a context ID; Web is an address an ExecFile macro opened.
enum class LinkKind { None, Jump, Popup, Web };

struct Run {
    CharFormat format;
    std::u16string text;
    // A bitmap reference {bmc|bml|bmr file}: placement 'c', 'l' or 'r', and the file name.
    char imagePlacement = 0;
    std::string imageFile;
    LinkKind link = LinkKind::None;
    std::string target;  // the hidden text: context ID, maybe with "@file" or ">window"
};

struct Block {
    enum class Kind { Paragraph, CellEnd, RowEnd };
    Kind kind = Kind::Paragraph;
    char align = 'l';  // 'l', 'c', 'r', 'j'
    bool inTable = false;
    std::vector<Run> runs;
};

struct Topic {
    std::vector<std::string> contextIds;   // '#' footnotes, in order
    std::u16string title;                  // '$'
    std::vector<std::u16string> keywords;  // 'K', split at ';'
    std::vector<std::u16string> alinks;    // 'A', split at ';'
    std::u16string browse;                 // '+': "sequence:order" or "auto"
    std::vector<Block> body;
    std::string sourceFile;  // the .rtf it came from (for warnings)
};

struct RtfReadResult {
    std::vector<Topic> topics;
    std::vector<std::string> warnings;  // UTF-8
};

// Reads a topic file. `defaultCodePage` applies to text whose font names no character set
// and when the file names no \ansicpg (932 for Japanese projects, 1252 otherwise).
RtfReadResult readRtfTopics(std::string_view rtf, int defaultCodePage,
                            std::string_view sourceName = {});

// The text of a body without formatting, paragraphs separated by "\n".
std::u16string plainText(const std::vector<Block>& body);

}  // namespace tarnbook::winhelp
