#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Splits RTF into tokens: group braces, control words with their optional number, control
// symbols, and text. Never fails: text after the last brace, a lone backslash at the end or a
// \bin that claims more bytes than there are simply end the input.
namespace tarnbook::winhelp {

struct RtfToken {
    enum class Kind { GroupStart, GroupEnd, Word, Symbol, Text, HexByte, End };
    Kind kind = Kind::End;
    std::string_view word;  // Word: the control word's letters
    bool hasParam = false;  // Word: a number followed the letters
    std::int32_t param = 0;
    char symbol = 0;         // Symbol: the character after the backslash
    std::string_view text;   // Text: plain bytes (line breaks removed by the caller's reading)
    unsigned char byte = 0;  // HexByte: the value of \'xx
};

class RtfTokenizer {
  public:
    explicit RtfTokenizer(std::string_view rtf) : in_(rtf) {}
    RtfToken next();
    std::size_t position() const { return pos_; }

  private:
    std::string_view in_;
    std::size_t pos_ = 0;
};

}  // namespace tarnbook::winhelp
