#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"
#include "project/ContentTree.h"
#include "ui/Prompts.h"
#include "workshopimport/ResourceCopy.h"

// Takes the table of contents of an HTML Help Workshop project into the open project: its
// entries become nodes appended to the tree, the index beside it gives their keywords, and
// the Workshop project's title becomes the help name. Optionally copies the files the pages
// need into the resource folder.
namespace tarnbook::workshopimport {

struct ImportTarget {
    project::ContentTree& tree;
    platform::IniFile& project;  // the open project file; written at once when a .hhp is read
    std::string projectFolder;   // PDir
};

struct ImportOptions {
    bool copyResources = false;
    // Asked before a file of the resource folder is replaced (resource copy only).
    ui::Prompts* prompts = nullptr;
    std::function<void(int percent)> progress;
};

struct ImportResult {
    bool contentsFound = false;
    std::size_t nodes = 0;
    std::size_t nodesWithKeywords = 0;
    std::size_t indexTargetsUnmatched = 0;
    std::string helpName;                // the title taken from the .hhp (UTF-8); "" when none
    std::string encoding;                // UTF-8 text, e.g. "GBK (Language (LCID))"
    std::string projectFile, indexFile;  // the companion files used ("" when none)
    std::vector<std::string> warnings;   // UTF-8, "<file>:<line>: <text>"
    std::size_t lostCharacters = 0;      // characters Shift_JIS cannot hold
    std::vector<std::string> lostExamples;
    bool copied = false;  // the resource copy ran
    CopyResult copy;
};

// Runs the import of the contents file `contentsPath` (a core path). Nothing is read but the
// three Workshop files (and, with copyResources, the files the pages use). Throws
// platform::IoError when a file cannot be read or written; the nodes made so far stay.
ImportResult importWorkshopProject(const ImportTarget& target, std::string_view contentsPath,
                                   const ImportOptions& options);

// The message the author gets at the end (UTF-8): where the resources must go (or what the
// copy did) and what could not be held in Shift_JIS.
std::string completionMessage(const ImportResult& result, std::string_view projectFolder);

}  // namespace tarnbook::workshopimport
