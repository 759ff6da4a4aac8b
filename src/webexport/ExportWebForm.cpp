#include "webexport/ExportWebForm.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"

namespace tarnbook::webexport {

ExportWebForm ExportWebForm::fromProject(const platform::IniFile& project) {
    ExportWebForm form;
    form.title = project.readString("XHP", "HelpName");
    if (form.title.empty()) form.title = project.readString("XHP", "Name");
    form.styleSheet = project.readString("XHP", kStyleSheetKey);
    form.outputFolder = project.readString("XHP", kOutputFolderKey);
    return form;
}

std::string ExportWebForm::problem(const std::string& projectFolder) const {
    if (!styleSheet.empty() && !platform::fileExists(styleSheet))
        return "スタイルシート " + platform::cp932ToUtf8(styleSheet) + " が見つかりません。";
    return checkOutputFolder(projectFolder, outputFolder);
}

void ExportWebForm::storeInto(platform::IniFile& project) const {
    project.writeString("XHP", kStyleSheetKey, styleSheet);
    project.writeString("XHP", kOutputFolderKey, outputFolder);
}

std::optional<WebExportResult> runWebExport(const ExportWebForm& form, platform::IniFile& project,
                                            const std::string& projectFolder,
                                            const project::ContentTree& tree, ui::Prompts& prompts,
                                            const WebExportProgress& progress) {
    const std::string problem = form.problem(projectFolder);
    if (!problem.empty()) {
        prompts.warn(problem);
        return std::nullopt;
    }
    try {
        form.storeInto(project);
        if (!project.path().empty()) project.save();
        return exportWebSite({projectFolder, tree, project}, form.settings(), progress);
    } catch (const WebExportError& e) {
        prompts.warn(e.what());
    } catch (const platform::IoError& e) {
        prompts.showError(e.what());
    }
    return std::nullopt;
}

}  // namespace tarnbook::webexport
