#include "shell/BuildArea.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>

#include "authoring/EditorPage.h"
#include "compile/CompileRun.h"
#include "compile/DecompileForm.h"
#include "compile/DecompileIsolated.h"
#include "compile/Viewer.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "project/ProjectLifecycle.h"
#include "shell/CompileWaitDialog.h"
#include "shell/DecompileDialog.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

BuildArea::BuildArea(WindowContext& context) : QObject(&context.window), cx_(context) {}

void BuildArea::disable(const char* id) {
    if (QAction* a = cx_.action(id)) a->setEnabled(false);
}

void BuildArea::bindCommands() {
    auto& ws = cx_.ws;
    auto& c = cx_.commands;
    c.bind("GoCompile", [this] { compile(); });
    c.bind("ViewLog", [this, &ws] {
        if (!compile::viewLog(ws)) disable("ViewLog");
    });
    c.bind("ViewCHM", [this, &ws] {
        if (!ws.project) return;
        switch (compile::viewCompiledHelp(*ws.project)) {
            case compile::ViewChmOutcome::Opened:
                project::refreshStatus(ws);
                break;
            case compile::ViewChmOutcome::OpenFailed:
                cx_.prompts.showError("コンパイル済みヘルプを表示するプログラムを起動できません。");
                break;
            default:
                disable("ViewCHM");
        }
    });
    c.bind("DeleteViewerStateFile", [] { compile::deleteViewerStateFile(); });
    c.bind("DeCompile", [this] { decompile(); });
}

bool BuildArea::waitForCompiler(platform::ChildProcess& compiler, std::chrono::seconds limit) {
    CompileWaitDialog d(compiler, limit, &cx_.window);
    cx_.runDialog(d);
    return !d.waitFailed();
}

void BuildArea::compile() {
    compile::CompileHooks h;
    h.saveEditorPage = [this] { authoring::tagSave(cx_.ws, [this] { cx_.showSelected(); }); };
    h.waitForCompiler = [this](platform::ChildProcess& c, std::chrono::seconds limit) {
        return waitForCompiler(c, limit);
    };
    // The Workshop guard: a window of this desktop session titled with the project name.
    h.windowWithTitleExists = [](const std::string& title) {
        const QString wanted = fromCp932(title);
        for (const QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == wanted) return true;
        return false;
    };
    compile::goCompile(cx_.ws, h);
}

void BuildArea::decompile() {
    auto folder =
        cx_.prompts.chooseFolder("リソースを保存するフォルダの選択", platform::desktopFolder());
    if (!folder) return;
    DecompileDialog d(*folder, cx_.prompts, &cx_.window);
    if (cx_.runDialog(d) != QDialog::Accepted || !d.okEnabled()) return;
    auto& status = cx_.ws.status;
    status.beginProgressWindow("逆コンパイル中..", 100);
    compile::DecompileOptions options;
    options.includeInternal = d.form().includeInternal;
    compile::DecompileResult r;
    try {
        // A child process reads the file: a damaged one cannot take the window down.
        r = compile::decompileIsolated(
            d.form().chmPath(), *folder,
            [&status](std::size_t done, std::size_t total) {
                status.setProgressWindowPosition(total ? static_cast<int>(done * 100 / total)
                                                       : 100);
                QApplication::processEvents();
            },
            options);
    } catch (...) {
        status.endProgressWindow();
        throw;
    }
    status.endProgressWindow();
    if (!r.opened) {
        cx_.prompts.showError(r.error.empty() ? std::string("コンパイル済みヘルプを開けません。")
                                              : "コンパイル済みヘルプを開けません。\n" +
                                                    platform::cp932ToUtf8(r.error));
        return;
    }
    const std::string summary = compile::decompileSummary(r, *folder);
    if (r.error.empty() && r.warnings.empty())
        cx_.prompts.confirm(summary, ui::Buttons::Ok);
    else
        cx_.prompts.warn(summary);
    cx_.setMessage(QString::number(r.filesWritten) + QStringLiteral(" 個のファイルを保存しました"));
    if (!platform::openWithDefaultProgram(*folder))
        cx_.prompts.showError("保存先フォルダを開くプログラムが見つかりません (xdg-open)。");
}

}  // namespace tarnbook::shell
