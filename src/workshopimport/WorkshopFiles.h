#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sitemap/SitemapReader.h"
#include "sitemap/SourceEncoding.h"

// The files of a Workshop project around a chosen contents file, each read in its own
// encoding.
namespace tarnbook::workshopimport {

struct WorkshopFiles {
    std::string contents;  // the chosen .hhc
    std::string project;   // the .hhp; "" when there is none
    std::string index;     // the .hhk; "" when there is none
};

// Same folder, same base name (".hhp", ".hhk"). Real projects often name them apart
// ("Table of Contents.hhc", "Index.hhk", "Help.hhp"), so when base + ".hhp" is missing the
// folder's .hhp whose "Contents file" names the chosen file is taken, and its "Index file"
// names the index when base + ".hhk" is missing.
WorkshopFiles findWorkshopFiles(std::string_view contentsPath);

// What the import takes from the .hhp: the title (CP932 after fitting), the language and the
// files it lists.
struct WorkshopProject {
    std::string titleText;  // [OPTIONS] Title, in the form `form`
    sitemap::TextForm form = sitemap::TextForm::Cp932;
    std::optional<unsigned> languageId;
    std::vector<std::string> files;  // [FILES] lines as written (wildcards included)
    sitemap::EncodingDecision encoding;
};
// Throws platform::IoError when the file cannot be read.
WorkshopProject readWorkshopProject(std::string_view path);

struct LoadedSitemap {
    sitemap::Sitemap sitemap;
    sitemap::TextForm form = sitemap::TextForm::Cp932;
    sitemap::EncodingDecision encoding;
};
// Reads a contents or index file: decides its encoding (the project's language helps), brings
// Shift_JIS-family text line by line to Shift_JIS (EUC-JP and ISO-2022-JP lines too) and
// reads the tree. Throws platform::IoError when the file cannot be read.
LoadedSitemap loadSitemap(std::string_view path, std::optional<unsigned> languageId);

// The charset a file declares ("charset=..." anywhere, in any letter case), lower-cased.
std::string declaredCharset(std::string_view bytes);

}  // namespace tarnbook::workshopimport
