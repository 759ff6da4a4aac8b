#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads the references of an HTML page: the values of `href`, `src` and `background`
// attributes of start tags, and the url(...) values of its style blocks and style attributes. Text,
// comments, declarations, end tags and the contents of <script> and <style> are not attributes, so
// "src=" in prose or in a script string is never taken for one. Works on the page's bytes: every
// byte the tokenizer acts on is ASCII, which no double-byte character of CP932, EUC-JP or UTF-8
// uses as a trail byte.
namespace tarnbook::maintenance {

struct HtmlReference {
    std::string attribute;  // "href", "src", "background", or "url" for style sheet values
    std::string value;      // character references decoded, surrounding white space removed
    std::size_t line = 1;   // where the attribute's name stands, counted from 1
};

std::vector<HtmlReference> htmlReferences(std::string_view html);

// The url(...) values and @import targets of style sheet text, comments skipped.
std::vector<HtmlReference> cssReferences(std::string_view css);

}  // namespace tarnbook::maintenance
