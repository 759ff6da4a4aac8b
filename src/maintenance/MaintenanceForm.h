#pragma once
#include <optional>
#include <string>
#include <vector>

#include "maintenance/Analysis.h"
#include "maintenance/DustMove.h"
#include "maintenance/ReferenceViews.h"
#include "ui/Prompts.h"

// The maintenance window without its widgets: one analysis per opening, the five views and
// their counters, and moving the unused files out. The window shows what this holds.
namespace tarnbook::maintenance {

class MaintenanceForm {
  public:
    // `dustFolder` is where unused files go (dustFolderFor the project's name).
    MaintenanceForm(AnalysisInput input, std::string dustFolder);

    // "解析しています。お待ちください - Phaze<n>" (UTF-8).
    static std::string phaseText(Phase phase);

    // Phases 1 to 3 (the analysis), 4 (the full list is shown) and 5 (the counters are set,
    // the views and the move enabled). False when cancelled: the form stays as it was.
    // Throws platform::IoError when a page cannot be read.
    bool analyze(const AnalysisProgress& progress = {});

    void showView(View view);
    const std::vector<ViewRow>& rows() const { return rows_; }
    const Counters& counters() const { return counters_; }
    const std::optional<AnalysisResult>& result() const { return result_; }
    const std::string& dustFolder() const { return dustFolder_; }

    bool analyzeEnabled() const { return !result_ && !moved_; }
    bool viewsEnabled() const { return result_.has_value() && !moved_; }
    bool moveEnabled() const { return viewsEnabled() && !result_->unusedFiles.empty(); }

    // Asks first; nullopt when the user says no. Moves every unused file, warns about those
    // that stay, then clears the list; only closing the window is left. The caller opens the
    // report's dust folder when it exists.
    std::optional<MoveReport> moveUnused(ui::Prompts& prompts, const MoveProgress& progress = {});

  private:
    AnalysisInput input_;
    std::string dustFolder_;
    std::optional<AnalysisResult> result_;
    std::vector<ViewRow> rows_;
    Counters counters_;
    bool moved_ = false;
};

}  // namespace tarnbook::maintenance
