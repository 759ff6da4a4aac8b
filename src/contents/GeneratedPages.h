#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"

// Pages the program writes or reads whole: the standard opening lines of generated HTML, new
// pages from the project's page settings, text files turned into pages, and page titles.
// Lines are CP932 bytes written with CR LF; titles and copied text are never escaped.
// File-system failures throw platform::IoError.
namespace tarnbook::contents {

// The document type line, "<HTML><HEAD>" and the generator line naming this build.
std::vector<std::string> standardOpeningLines();
std::string generatorLine();
// The comment line that marks the body of a generated page.
std::string_view generatedComment();

// The line that links the style sheet `cssPath` (only its file name is used).
std::string styleSheetLine(std::string_view cssPath);

// Copies the style sheet `cssPath` into `resourceFolder` when it exists and no file of its
// name is there yet; an existing copy is never replaced.
void copyStyleSheetIntoResource(std::string_view cssPath, std::string_view resourceFolder);

// The project's resource folder: the project folder (key PDir of section XHP) + _RESOURCE.
std::string resourceFolderOf(const platform::IniFile& project);

// Writes a new page for `pagePath` with the title `title` from the project's page settings
// (section XHP: UseCSS, CSS, AutoHEAD, AutoHTML, PDir) and returns the path written: the
// given one, or the first free "name(k).ext" beside it when that file exists already. A
// relative `pagePath` is taken within the resource folder.
std::string newPageFromTemplate(const platform::IniFile& project, std::string_view pagePath,
                                std::string_view title);

// Turns the text file `textPath` into an HTML page in a new temporary file (prefix "QLT"),
// one "<br>"-ended line per text line, and returns its path; the caller deletes it.
std::string convertTxtToHtml(std::string_view textPath);

// The text of the page's first title element, when the first line that mentions a title or
// a body holds the whole element; otherwise empty. Lines are converted to Shift_JIS first.
std::string extractHtmlTitle(std::string_view htmlPath);

}  // namespace tarnbook::contents
