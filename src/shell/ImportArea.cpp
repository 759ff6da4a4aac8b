#include "shell/ImportArea.h"

#include <QApplication>
#include <QMainWindow>
#include <QProgressDialog>

#include "authoring/EditorPage.h"
#include "folderimport/FolderImport.h"
#include "platform/Files.h"
#include "shell/HelpService.h"
#include "shell/ImportDialogs.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

ImportArea::ImportArea(WindowContext& context) : QObject(&context.window), cx_(context) {}

void ImportArea::bindCommands() {
    cx_.commands.bind("ImportFolder", [this] { importFolder(); });
    cx_.commands.bind("ImportFilter", [this] { editImportFilter(); });
    cx_.commands.bind("URLFilter", [this] { editUrlFilter(); });
}

std::optional<int> ImportArea::askTitleSource() {
    TitleSourceDialog d(&cx_.window, cx_.help.topicOpener());
    if (cx_.runDialog(d) != QDialog::Accepted) return std::nullopt;
    return d.choice();
}

void ImportArea::importDroppedFile(const std::string& path, project::TreeNode* parent,
                                   int titleSource) {
    folderimport::FileImporter importer(cx_.ws, titleSource == 0
                                                    ? folderimport::TitleSource::FileName
                                                    : folderimport::TitleSource::TitleTag);
    importer.importFile(path, parent, {});
    for (const std::string& w : importer.report().warnings) cx_.prompts.warn(w);
}

void ImportArea::importFolder() {
    auto& ws = cx_.ws;
    const auto folder = cx_.prompts.chooseFolder("取り込み元フォルダの選択", ws.projectFolder());
    if (!folder || !platform::folderExists(*folder)) return;
    const auto titles = askTitleSource();
    if (!titles) return;
    // A folder of thousands of files keeps the window alive and can be stopped.
    QProgressDialog progress(QStringLiteral("インポート中.."), QStringLiteral("中止"), 0, 100,
                             &cx_.window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const folderimport::ImportReport r = folderimport::importFolderTree(
        ws, *folder,
        *titles == 0 ? folderimport::TitleSource::FileName : folderimport::TitleSource::TitleTag,
        [&](int percent) {
            progress.setValue(percent);
            ws.status.setProgress(percent);
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    ws.status.setProgress(0);
    authoring::refreshWindowState(ws);
    if (!r.warnings.empty()) {
        std::string text;
        for (const std::string& w : r.warnings) text += w + "\n";
        cx_.prompts.warn(text);
    }
    cx_.setMessage(QStringLiteral("%1 個のファイルを取り込みました").arg(r.written));
}

void ImportArea::saveSettings() {
    if (cx_.ws.beforeSettingsWrite) cx_.ws.beforeSettingsWrite();
    if (!cx_.ws.settings.path().empty()) cx_.ws.settings.save();
}

void ImportArea::editImportFilter() {
    ImportFilterDialog d(cx_.ws.settings, &cx_.window, cx_.help.topicOpener());
    if (cx_.runDialog(d) != QDialog::Accepted) return;
    d.form().apply(cx_.ws.settings);
    saveSettings();
}

void ImportArea::editUrlFilter() {
    UrlFilterDialog d(cx_.ws.settings, &cx_.window, cx_.help.topicOpener());
    if (cx_.runDialog(d) != QDialog::Accepted) return;
    d.form().apply(cx_.ws.settings);
    saveSettings();
}

}  // namespace tarnbook::shell
