#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"
#include "project/ContentTree.h"
#include "ui/Prompts.h"
#include "winhelp/CntFile.h"
#include "winhelp/HpjFile.h"
#include "winhelp/RtfTopics.h"

// Converting a WinHelp project into the open project, in the steps the conversion dialog
// shows: check the project and the files it depends on, convert the topic files, then write
// the pages, pictures and map file and register the nodes. Nothing is written before the last
// step, and the last step writes nothing when the author cancels its question.
namespace tarnbook::winhelp {

using ConversionProgress = std::function<void(int percent)>;

// Step 2: the project file, its contents file and the topic files it names.
struct CheckedProject {
    HpjProject hpj;
    std::optional<CntFile> cnt;
    int codePage = 932;  // of text that names no code page of its own
    std::vector<std::string> warnings;
    std::string error;  // UTF-8; non-empty when there is nothing to convert
};
// Throws platform::IoError when the project file cannot be read.
CheckedProject checkWinHelpProject(std::string_view hpjPath);

struct Picture {
    std::string source;  // the file found, empty when not found
    std::optional<std::string> png;
    std::string reason;  // why there is no PNG
};

// Step 3: every topic of every topic file, and the pictures they show.
struct ConvertedTopics {
    std::vector<Topic> topics;
    std::map<std::string, Picture> pictures;  // by lower-cased file name as the topics name it
    std::vector<std::string> warnings;
};
ConvertedTopics convertTopicFiles(const CheckedProject& checked,
                                  const ConversionProgress& progress = {});

// Where step 4 writes: the project folder (its _RESOURCE receives pages and pictures), the
// project file held in memory (saved when it has a path), the contents tree (nodes appended
// at the end of the top level) and the questions to the author.
struct ProjectTarget {
    std::string projectFolder;
    platform::IniFile& project;
    project::ContentTree& tree;
    ui::Prompts& prompts;
};

struct ConversionResult {
    bool cancelled = false;
    std::size_t topics = 0;
    std::size_t keywords = 0;
    std::size_t contextIds = 0;
    std::size_t nodes = 0;
    std::vector<std::string> warnings;  // UTF-8
    std::vector<std::string> pages;     // names in _RESOURCE
    std::vector<std::string> pictures;  // names in _RESOURCE
    std::string mapFile;                // the map file written, empty when none

    // "N topics, M keywords, K context IDs, W warnings"
    std::string summary() const;
};

ConversionResult registerConversion(const CheckedProject& checked, const ConvertedTopics& topics,
                                    const ProjectTarget& target,
                                    const ConversionProgress& progress = {});

// All three steps. Throws platform::IoError when a file cannot be read or written.
ConversionResult convertWinHelpProject(std::string_view hpjPath, const ProjectTarget& target,
                                       const ConversionProgress& progress = {});

// A page name made from a context ID: letters, digits, '_', '-' and '.' kept, anything else
// '_', never a device name of Windows, at most 60 bytes.
std::string safePageBase(std::string_view contextId);

// The Windows code page of a project's CHARSET= or LCID= (932 when it names neither).
int codePageOfProject(const HpjProject& hpj);

}  // namespace tarnbook::winhelp
