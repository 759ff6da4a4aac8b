#pragma once
#include <functional>
#include <string>
#include <string_view>

// Brings outside Japanese text into the program's one encoding, Shift_JIS (CP932).
//
// Each line is guessed on its own: no byte of 0x80 or above means plain ASCII or ISO-2022-JP
// (escape sequences are followed), high bytes that pair up and never fall in 0x80-0x9F
// (except the half-width kana prefix 0x8E) mean EUC-JP, anything else is taken as Shift_JIS
// and left alone. Double-byte characters are mapped arithmetically through their JIS X 0208
// row and cell, so the result is what a CP932 reader expects for every JIS X 0208 character.
namespace tarnbook::authoring {

// Converts one line (a line break, where present, only ends the part used for the guess).
// The result stops at its first 0x00 byte and is never longer than the input.
std::string convertLineToSjis(std::string_view line);

// The same conversion, appending to `out` (lets a reader of many lines reuse one buffer).
void appendLineToSjis(std::string_view line, std::string& out);

// Converts every line of `text` (split at CR LF, LF or a lone CR) and ends each with CR LF.
std::string convertTextToSjis(std::string_view text);

// The same for text of any size that arrives in pieces: lines may span pieces, and the
// converted lines reach `sink` in blocks of a few ten kilobytes.
class SjisTextConverter {
  public:
    explicit SjisTextConverter(std::function<void(std::string_view)> sink);
    void feed(std::string_view bytes);
    // Converts the last line (when the text does not end with a line break) and flushes.
    void finish();

  private:
    void emitLine(std::string_view line);
    void flush();

    std::function<void(std::string_view)> sink_;
    std::string partial_;  // the start of a line whose end has not arrived yet
    std::string out_;
    bool afterCr_ = false;  // the last piece ended with CR: an LF first in the next is its pair
};

// Writes the page `sourcePath` into a new temporary file (prefix "QLT") and returns its path;
// the caller deletes it. With `convert` set, each line is converted as above and a declared
// charset=euc-jp (in any letter case) becomes charset=shift-jis; without it the lines are
// copied unchanged. Lines end with CR LF. Throws platform::IoError.
std::string convertPageToSjis(std::string_view sourcePath, bool convert);

}  // namespace tarnbook::authoring
