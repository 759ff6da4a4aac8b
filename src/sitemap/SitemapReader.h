#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sitemap/HtmlEntities.h"

// Reads a Workshop sitemap (contents .hhc or index .hhk) as a tree of entries, whatever its
// layout: tags in any letter case, several on a line or spread over lines, no HTML wrapper,
// objects outside any list, lists without a parent entry, missing end tags. It never fails:
// what it had to guess is listed in `warnings`.
//
// The text is read byte-wise; decide its encoding first (sitemap/SitemapEncoding.h) and pass
// the form the values should be decoded into.
namespace tarnbook::sitemap {

struct Param {
    std::string name;   // as written ("Name", "Local", "ImageNumber", "See Also", ...)
    std::string value;  // character references decoded
};

enum class EntryKind {
    Topic,  // an object of type text/sitemap (with or without a Name)
    Merge,  // an object that only names another sitemap to merge ("Merge" param, no "Name")
    Other,  // an object of another type inside a list
};

struct Entry {
    EntryKind kind = EntryKind::Topic;
    std::vector<Param> params;    // in file order, duplicates kept
    std::vector<Entry> children;  // the entries of the list nested under this one
    std::size_t line = 0;         // where the object starts, 1-based

    // The value of the first param of this name (ASCII case ignored), or nullptr.
    const std::string* value(std::string_view paramName) const;
    // Every value of params of this name, in file order.
    std::vector<std::string> values(std::string_view paramName) const;
};

struct Warning {
    std::size_t line;
    std::string message;  // UTF-8
};

struct Sitemap {
    std::vector<Param> properties;  // the "text/site properties" object(s)
    std::vector<Entry> entries;     // top level
    std::string charset;            // declared by a <meta> tag, lower-cased; "" when none
    std::vector<Warning> warnings;  // in line order

    // The number of entries at every depth.
    std::size_t countEntries() const;
};

Sitemap readSitemap(std::string_view text, TextForm form);

// ASCII case-insensitive comparison, for param and type names.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tarnbook::sitemap
