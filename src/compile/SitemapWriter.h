#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "compile/BuildPaths.h"
#include "project/Workspace.h"

// The two sitemaps the Workshop project names: the contents (<NAME>.hhc) and the index
// (<NAME>.hhk), generated from the contents tree, the project keys and the added resources.
namespace tarnbook::compile {

// Divides a keyword text at commas and line breaks. Commas inside a stretch in double or
// single quotes do not divide, and the quotes stay; blanks are kept; empty items are dropped.
std::vector<std::u16string> splitKeywordText(std::u16string_view text);

std::string indexFilePath(const project::Workspace& ws);     // <PDir>/<NAME>.hhk
std::string contentsFilePath(const project::Workspace& ws);  // <PDir>/<NAME>.hhc

// The file contents, as written (CP932, CR LF).
std::string indexFileText(const project::Workspace& ws);
std::string contentsFileText(const project::Workspace& ws, const BuildProgress& progress = {});

// The same texts handed to `sink` piece by piece (what the file writers use).
void writeIndex(const project::Workspace& ws, const std::function<void(std::string_view)>& sink);
void writeContents(const project::Workspace& ws, const BuildProgress& progress,
                   const std::function<void(std::string_view)>& sink);

// Write the sitemaps into the project folder. Throw platform::IoError on failure.
void writeIndexFile(const project::Workspace& ws);
// Reports 90 after the node list and 100 when done.
void writeContentsFile(const project::Workspace& ws, const BuildProgress& progress = {});

}  // namespace tarnbook::compile
