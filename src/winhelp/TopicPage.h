#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "winhelp/RtfTopics.h"

// One converted topic as an HTML page in Shift_JIS: paragraphs and character formatting as
// simple HTML, jumps as links, popups as text popups of the help viewer (or links when the
// popup topic holds more than text), bitmaps as pictures.
namespace tarnbook::winhelp {

// What a link or picture in a topic turns into.
struct LinkTarget {
    std::string page;          // the page to link to (CP932, relative to the page itself)
    std::u16string popupText;  // non-empty: show this text in a popup instead of linking
};

struct PageLinks {
    // The target of a jump or popup's hidden text; nullopt when it names no topic here.
    std::function<std::optional<LinkTarget>(const std::string& target, LinkKind kind)> link;
    // The picture file to show for a bitmap reference; nullopt when it was not converted.
    std::function<std::optional<std::string>(const std::string& file)> picture;
};

// The page's bytes (CR LF lines). `warnings` receives links and pictures that stay text.
std::string renderTopicPage(const Topic& topic, const PageLinks& links,
                            std::vector<std::string>* warnings);

// Text as HTML in Shift_JIS: markup characters escaped, characters Shift_JIS lacks written as
// numeric references.
// A blank at the start of a line (`lineStart`) or after another blank is a hard space, so
// that it shows.
std::string htmlText(std::u16string_view text, bool lineStart = true);

}  // namespace tarnbook::winhelp
