#pragma once

#include <string>
#include <string_view>

// What a sitemap "Local" value points at, in the stored form of the program.
namespace tarnbook::workshopimport {

struct LocalTarget {
    enum class Kind {
        None,     // empty value
        Page,     // a file of the Workshop project, relative to its contents file
        Address,  // a web or other address with a scheme (http:, https:, ms-its:, mailto: ...)
        Outside,  // an absolute path, or one whose ".." climbs out of the project folder
    };
    Kind kind = Kind::None;
    std::string page;    // Page: '\' separators, "." and ".." resolved; others: as written
    std::string anchor;  // the text after the first '#' (Page and Address)
};

// `value` is CP932. Either separator, and both mixed, are taken; "/a.htm" means "a.htm".
LocalTarget classifyLocal(std::string_view value);

// A key for matching pages of the contents and the index: upper-cased, '\' separators.
std::string pageKey(std::string_view page);

}  // namespace tarnbook::workshopimport
