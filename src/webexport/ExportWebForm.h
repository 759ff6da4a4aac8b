#pragma once
#include <optional>
#include <string>

#include "platform/IniFile.h"
#include "project/ContentTree.h"
#include "ui/Prompts.h"
#include "webexport/WebExport.h"

// The dialog "Web形式で出力" without its widgets: the title, the style sheet and the output
// folder, where they come from, when OK may be pressed, and what OK does.
namespace tarnbook::webexport {

class ExportWebForm {
  public:
    static constexpr const char* kStyleSheetKey = "WebCSS";
    static constexpr const char* kOutputFolderKey = "WebFolder";
    static constexpr const char* kStyleSheetFilter = "カスケーディングスタイルシート (*.css)|*.css";

    // Title from HelpName (Name when empty), style sheet and folder from the last export.
    static ExportWebForm fromProject(const platform::IniFile& project);

    std::string title;         // CP932
    std::string styleSheet;    // core path, may be empty
    std::string outputFolder;  // core path

    bool okEnabled() const { return !outputFolder.empty(); }
    // What stands in the way of an export to these settings (UTF-8), or empty.
    std::string problem(const std::string& projectFolder) const;
    WebExportSettings settings() const { return {title, styleSheet, outputFolder}; }
    // Keeps the style sheet and the output folder in the project (section XHP).
    void storeInto(platform::IniFile& project) const;
};

// What OK does: stores the settings in the project file (written at once, atomically) and
// exports. Problems with the settings go to `prompts.warn`, file-system failures to
// `prompts.showError`; both leave nullopt.
std::optional<WebExportResult> runWebExport(const ExportWebForm& form, platform::IniFile& project,
                                            const std::string& projectFolder,
                                            const project::ContentTree& tree, ui::Prompts& prompts,
                                            const WebExportProgress& progress = {});

}  // namespace tarnbook::webexport
