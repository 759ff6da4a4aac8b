#include "maintenance/MaintenanceForm.h"

#include "platform/Cp932.h"

namespace tarnbook::maintenance {

MaintenanceForm::MaintenanceForm(AnalysisInput input, std::string dustFolder)
    : input_(std::move(input)), dustFolder_(std::move(dustFolder)) {}

std::string MaintenanceForm::phaseText(Phase phase) {
    return "解析しています。お待ちください - Phaze" + std::to_string(static_cast<int>(phase));
}

bool MaintenanceForm::analyze(const AnalysisProgress& progress) {
    if (!analyzeEnabled()) return false;
    std::optional<AnalysisResult> result = maintenance::analyze(input_, progress);
    if (!result) return false;
    if (progress && !progress(Phase::Show, 0, 1)) return false;
    std::vector<ViewRow> rows = viewRows(*result, View::All);
    if (progress && !progress(Phase::Keep, 0, 1)) return false;
    counters_ = countersOf(*result);
    rows_ = std::move(rows);
    result_ = std::move(result);
    return true;
}

void MaintenanceForm::showView(View view) {
    if (viewsEnabled()) rows_ = viewRows(*result_, view);
}

std::optional<MoveReport> MaintenanceForm::moveUnused(ui::Prompts& prompts,
                                                      const MoveProgress& progress) {
    if (!moveEnabled()) return std::nullopt;
    if (prompts.confirm("本当に移動してよろしいですか？", ui::Buttons::YesNo) != ui::Answer::Yes)
        return std::nullopt;
    MoveReport report =
        moveToDust(input_.resourceFolder, result_->unusedRelative, dustFolder_, progress);
    moved_ = true;
    rows_.clear();
    if (!report.failed.empty()) {
        std::string text = "次のファイルは移動できませんでした。元の場所に残っています。";
        for (const MoveFailure& f : report.failed)
            text += "\n" + platform::cp932ToUtf8(f.file) + " : " + f.reason;
        prompts.warn(text, ui::Buttons::Ok);
    }
    return report;
}

}  // namespace tarnbook::maintenance
