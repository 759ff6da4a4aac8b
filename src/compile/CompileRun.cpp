#include "compile/CompileRun.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include "compile/BuildPaths.h"
#include "compile/CompileLogPage.h"
#include "compile/HelpProjectWriter.h"
#include "compile/SitemapWriter.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "project/ProjectFileKeys.h"
#include "project/ProjectLifecycle.h"
#include "project/Settings.h"

namespace tarnbook::compile {
namespace {

using platform::cp932ToUtf8;

constexpr const char* kNoCompiler = "ヘルプコンパイラ(HHC.EXE)の指定を確認して下さい";

std::string workshopQuestion(const std::string& name) {
    const std::string n = cp932ToUtf8(name);
    return "ヘルプファイル [ " + n + " ] が開かれているか、\n[ " + n +
           " ] という名前のウインドウが開かれています。\nコンパイル対象のヘルプファイル [ " + n +
           " ] が開かれている場合は\nコンパイルは実行されません。"
           "続行するには[はい]を、中止するには[いいえ]を押して下さい。";
}

void renameOrThrow(const std::string& from, const std::string& to) {
    if (!platform::renameFile(from, to))
        throw platform::IoError(platform::failureText(
            platform::FileAction::Rename, cp932ToUtf8(from) + " -> " + cp932ToUtf8(to), errno));
}

struct Backups {
    std::string chm, bak, bak2;
};

// Keeps the two previous compiled files: chm -> .bak -> .bak2.
Backups rotateBackups(const std::string& chm) {
    Backups b{chm, chm + ".bak", chm + ".bak2"};
    if (!platform::fileExists(chm)) {
        b.bak.clear();
        b.bak2.clear();
    } else if (platform::fileExists(b.bak)) {
        if (platform::fileExists(b.bak2)) platform::deleteFile(b.bak2);
        renameOrThrow(b.bak, b.bak2);
        renameOrThrow(chm, b.bak);
    } else {
        renameOrThrow(chm, b.bak);
        b.bak2.clear();
    }
    return b;
}

// Polls until the compiler ends or `limit` has passed; a compiler past its limit is ended
// (some inputs make a back end loop for ever) and false returned.
bool pollUntilEnded(platform::ChildProcess& compiler, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (compiler.running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            compiler.kill();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Generous enough for the largest projects (five minutes and a second per 20 nodes),
// configurable in the settings file.
std::chrono::seconds compileTimeLimit(const project::Workspace& ws) {
    const long long configured = ws.settings.readInteger("SYSTEM", "CompileTimeLimit", 0);
    if (configured > 0) return std::chrono::seconds(configured);
    return std::chrono::seconds(300 + static_cast<long long>(ws.tree.count() / 20));
}

std::uint64_t compileMemoryLimit(const project::Workspace& ws) {
    const long long mb = ws.settings.readInteger("SYSTEM", "CompileMemoryLimitMB", 4096);
    return mb > 0 ? static_cast<std::uint64_t>(mb) << 20 : 0;
}

// The project's own destination wins; the settings-wide one applies only without it.
void copyToDestination(project::Workspace& ws, const std::string& chm, const std::string& log) {
    const platform::IniFile& p = *ws.project;
    std::string folder;
    if (p.readBool("XHP", "SetCompleteDestOW", false))
        folder = p.readString("XHP", "SetCompleteDestPathOW");
    else if (ws.settings.readBool("SYSTEM", "SetCompleteDest", false))
        folder = ws.settings.readString("SYSTEM", "SetCompleteDestPath");
    else
        return;
    if (folder.empty() || !platform::folderExists(folder)) return;
    const std::string dest = inProjectFolder(folder, platform::fileNamePart(chm));
    std::string reason;
    if (platform::copyFile(chm, dest, false, platform::Durability::Synced, &reason))
        appendCopyLines(log, dest);
    else
        appendCopyFailedLines(log, dest, platform::utf8ToCp932(reason));
}

}  // namespace

bool canCompile(const project::Workspace& ws) {
    return ws.hasProject() && !ws.tree.empty();
}

bool isProcessRunning(const std::string& executableName) {
    const std::string wanted = platform::lowerCaseSjis(executableName);
    for (const auto& name : platform::runningProcessNames())
        if (platform::lowerCaseSjis(platform::fileNamePart(name)) == wanted) return true;
    return false;
}

CompileResult goCompile(project::Workspace& ws, const CompileHooks& hooks) {
    CompileResult result;
    if (!canCompile(ws)) return result;
    const std::string name = ws.projectName();

    if (isProcessRunning("hhw.exe") && hooks.windowWithTitleExists &&
        hooks.windowWithTitleExists(name) &&
        ws.prompts.confirm(workshopQuestion(name), ui::Buttons::YesNo) != ui::Answer::Yes)
        return result;

    ws.status.setProgress(0);
    if (!ws.saved) project::saveProject(ws);
    if (hooks.saveEditorPage) hooks.saveEditorPage();
    refreshMergeCopies(ws);

    ws.status.setProgress(10);
    const std::string pdir = projectFolderOf(ws);
    const Backups backups = rotateBackups(inProjectFolder(pdir, name + ".chm"));
    if (!ws.compileLogPath().empty() && platform::fileExists(ws.compileLogPath()))
        platform::deleteFile(ws.compileLogPath());
    // What a killed build left half-written; the compiler cleans up after its own.
    for (const char* ext : {".hhp", ".hhc", ".hhk"})
        platform::removeInterruptedWrites(inProjectFolder(pdir, name + ext));
    project::refreshStatus(ws);

    auto progress = [&ws](int percent) { ws.status.setProgress(percent); };
    ws.status.setProgress(20);
    writeHelpProjectFile(ws, progress);
    if (ws.project->readBool("XHP", "TabKeyword", true)) {
        ws.status.setProgress(70);
        writeIndexFile(ws);
    }
    ws.status.setProgress(80);
    writeContentsFile(ws, progress);

    result.logPath = ws.compileLogPath();
    result.chmPath = inProjectFolder(pdir, project::compiledFileName(*ws.project));
    const std::string hhc = project::resolveCompiler(ws.settings.readString("SYSTEM", "HHC"),
                                                     platform::programFolder());
    struct ResetProgress {
        project::Workspace& ws;
        ~ResetProgress() {
            ws.status.setProgress(0);
            project::refreshStatus(ws);
        }
    } reset{ws};

    if (hhc.empty() || !platform::fileExists(hhc)) {
        ws.prompts.confirm(kNoCompiler, ui::Buttons::Yes);
        result.outcome = CompileOutcome::NoCompiler;
        return result;
    }

    const std::string hhp = helpProjectFilePath(ws);
    // The compiler's console output is kept aside: the log file is what the author reads.
    const std::string output = platform::makeTempFile("QLT", ".txt");
    struct RemoveOutput {
        const std::string& path;
        ~RemoveOutput() { platform::deleteFile(path); }
    } removeOutput{output};
    auto compiler =
        platform::ChildProcess::start(hhc, {platform::corePath(platform::nativePath(hhp))}, pdir,
                                      &result.error, output, compileMemoryLimit(ws));
    if (!compiler) {
        ws.prompts.showError(result.error);
        result.outcome = CompileOutcome::CannotStart;
        return result;
    }
    const auto limit = compileTimeLimit(ws);
    const auto started = std::chrono::steady_clock::now();
    const bool waited = hooks.waitForCompiler ? hooks.waitForCompiler(*compiler, limit)
                                              : pollUntilEnded(*compiler, limit);
    if (!waited) {
        // Whatever the wait ran into, the compiler and what it started end here.
        compiler->kill();
        if (std::chrono::steady_clock::now() - started >= limit)
            ws.prompts.showError("コンパイラが " + std::to_string(limit.count()) +
                                 " 秒以内に終わらなかったため中断しました。\n"
                                 "設定ファイルの CompileTimeLimit で時間を延ばせます。");
        else
            ws.prompts.showError("コンパイラの終了を待てませんでした。");
    }
    result.exitCode = compiler->exitCode();

    appendBackupLines(ws.compileLogPath(), backups.chm, backups.bak, backups.bak2);
    copyToDestination(ws, backups.chm, ws.compileLogPath());
    viewLog(ws, &result.htmlLog);

    // A compiler that ended badly or left no compiled file must not look like a success.
    if (result.exitCode == 0 && platform::fileExists(result.chmPath)) {
        result.outcome = CompileOutcome::Succeeded;
    } else {
        result.outcome = CompileOutcome::Failed;
        std::string text = "コンパイル済みヘルプ [ " + cp932ToUtf8(result.chmPath) +
                           " ] を作成できませんでした。\nコンパイルログを確認して下さい。";
        if (!platform::fileExists(ws.compileLogPath()))
            text += "\n" + cp932ToUtf8(platform::tryReadFile(output).value_or("").substr(0, 2000));
        ws.prompts.warn(text);
    }
    return result;
}

bool viewLog(project::Workspace& ws, std::string* htmlPath) {
    if (!ws.hasProject() || ws.compileLogPath().empty() ||
        !platform::fileExists(ws.compileLogPath()))
        return false;
    LogPageInfo info;
    info.templateFolder = ws.settings.readString("SYSTEM", "TEMPLATE");
    info.targetFileName = ws.project->readString("XHP", "FileName");
    const std::string html = convertCompileLog(ws.compileLogPath(), info);
    ws.status.activatePage(ui::Page::Preview);
    ws.preview.show(html);
    ws.currentPage = html;
    ws.tree.clearSelection();
    project::refreshStatus(ws);
    if (htmlPath) *htmlPath = html;
    return true;
}

}  // namespace tarnbook::compile
