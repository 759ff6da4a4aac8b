#include "shell/ProjectToolsArea.h"

#include <QMainWindow>

#include "authoring/EditorPage.h"
#include "maintenance/Analysis.h"
#include "maintenance/DustMove.h"
#include "platform/Process.h"
#include "project/ProjectLifecycle.h"
#include "shell/ExportWebDialog.h"
#include "shell/HelpService.h"
#include "shell/HpjConvertDialog.h"
#include "shell/MaintenanceWindow.h"
#include "shell/QtText.h"
#include "shell/WorkshopImportDialog.h"
#include "webexport/ExportWebForm.h"
#include "workshopimport/ImportCommand.h"

namespace tarnbook::shell {

ProjectToolsArea::ProjectToolsArea(WindowContext& context)
    : QObject(&context.window), cx_(context) {}

void ProjectToolsArea::bindCommands() {
    auto& c = cx_.commands;
    c.bind("ImportHHP", [this] { importWorkshopProject(); });
    c.bind("ImportHPJ", [this] { convertWinHelpProject(); });
    c.bind("ExportWeb", [this] { exportWeb(); });
    c.bind("Maintenance", [this] { maintain(); });
}

void ProjectToolsArea::saveEditorPage() {
    if (cx_.ws.editor.modified()) authoring::tagSave(cx_.ws, [this] { cx_.showSelected(); });
}

void ProjectToolsArea::importWorkshopProject() {
    auto& ws = cx_.ws;
    if (!ws.project) return;
    WorkshopImportDialog d(ws.projectFolder(), &cx_.window);
    if (cx_.runDialog(d) != QDialog::Accepted) return;
    workshopimport::runImportCommand({ws.tree, *ws.project, ws.projectFolder()}, d.form(),
                                     ws.prompts, ws.status, [&ws] {
                                         ws.markChanged();
                                         project::refreshStatus(ws);
                                     });
}

void ProjectToolsArea::convertWinHelpProject() {
    auto& ws = cx_.ws;
    if (!ws.project) return;
    HpjConvertDialog d({ws.projectFolder(), *ws.project, ws.tree, ws.prompts}, &cx_.window);
    cx_.runDialog(d);
    if (d.form().treeChanged()) ws.markChanged();
    project::refreshStatus(ws);
}

void ProjectToolsArea::exportWeb() {
    auto& ws = cx_.ws;
    if (!ws.project) return;
    saveEditorPage();
    ExportWebDialog d(webexport::ExportWebForm::fromProject(*ws.project), ws.projectFolder(),
                      ws.prompts, cx_.help.topicOpener(), &cx_.window);
    if (cx_.runDialog(d) != QDialog::Accepted) return;
    auto& status = ws.status;
    const auto result = webexport::runWebExport(
        d.form(), *ws.project, ws.projectFolder(), ws.tree, ws.prompts,
        [&status](std::size_t done, std::size_t total) {
            status.setProgress(total ? static_cast<int>(done * 100 / total) : 100);
        });
    status.setProgress(0);
    if (!result) return;
    cx_.setMessage(QStringLiteral("Web形式で出力しました: %1 ページ、%2 ファイル")
                       .arg(result->pages)
                       .arg(result->files));
    if (!platform::openWithDefaultProgram(result->startFile))
        ws.prompts.showError("出力したページを開くプログラムが見つかりません: " +
                             platform::nativePath(result->startFile).str());
}

void ProjectToolsArea::maintain() {
    auto& ws = cx_.ws;
    if (!ws.project) return;
    saveEditorPage();
    MaintenanceWindow w(
        maintenance::projectAnalysisInput(ws.projectFolder(), ws.tree, *ws.project),
        maintenance::dustFolderFor(ws.projectName()), ws.prompts, cx_.help.topicOpener(),
        [](const std::string& folder) { platform::openWithDefaultProgram(folder); }, &cx_.window);
    cx_.runDialog(w);
    cx_.run("ResAll");
}

}  // namespace tarnbook::shell
