#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maintenance/ReferenceTarget.h"
#include "platform/IniFile.h"
#include "project/ContentTree.h"

// The project's reference analysis: which pages and files its pages, contents nodes and added
// resources refer to, which of those are missing, and which files of the resource folder
// nothing refers to. Paths and texts are CP932.
namespace tarnbook::maintenance {

struct NamedPath {
    std::string name;  // a node's title, a setting's key
    std::string path;  // relative to the resource folder
};

struct AnalysisInput {
    std::string resourceFolder;               // core path
    std::vector<NamedPath> nodes;             // every contents node's HTML, in pre-order
    std::vector<NamedPath> settings;          // project settings that name a file
    std::vector<std::string> addedResources;  // relative to the resource folder
};

// The input for an open project: its resource folder, every node of `tree`, the default page
// and style sheet of section "XHP" and the added resources of section "Addition", as far as
// they lie in the resource folder.
AnalysisInput projectAnalysisInput(std::string_view projectFolder, const project::ContentTree& tree,
                                   const platform::IniFile& project);

enum class Origin { ContentsNode, Page, ProjectSetting, AddedResource };

struct Reference {
    Origin origin = Origin::Page;
    std::string from;      // the node's title, the page (relative), the setting's key, or the
                           // added entry itself
    std::size_t line = 0;  // in the page; 0 for nodes and added resources
    std::string value;     // as written
    ReferenceTarget target;
    bool missing = false;  // local and inside the resource folder, but nothing is there
    bool broken() const {
        return !target.ignored && target.kind != ReferenceKind::External &&
               (missing || target.outside);
    }
};

// One entry of the reference views: a distinct target (compared without regard to case).
struct DistinctReference {
    std::string caption;  // the local path or the address
    ReferenceKind kind = ReferenceKind::File;
};

enum class Phase { CollectReferences = 1, FindUnused, DistinctReferences, Show, Keep };

// Reports `done` of `total` steps of a phase; returning false cancels the analysis.
using AnalysisProgress = std::function<bool(Phase, std::size_t done, std::size_t total)>;

struct AnalysisResult {
    std::vector<Reference> references;      // every reference found, in scan order
    std::vector<std::string> scannedPages;  // pages and style sheets, relative, in scan order
    std::vector<DistinctReference> distinct;
    std::vector<std::string> unusedFiles;     // full core paths
    std::vector<std::string> unusedRelative;  // the same, relative to the resource folder
    bool nestedResourceFolder = false;        // see ResourceListing
    bool hasBroken() const;
};

// Runs phases 1 to 3. Pages are those of the nodes, settings and added resources, and every
// local page or style sheet they refer to in turn, so the files of a page reached only by a
// link, or a picture named only in a style sheet, count as used.
// Throws platform::IoError when a page exists but cannot be read; nullopt when cancelled.
std::optional<AnalysisResult> analyze(const AnalysisInput& input,
                                      const AnalysisProgress& progress = {});

}  // namespace tarnbook::maintenance
