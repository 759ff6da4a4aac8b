#include "project/ProjectLifecycle.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "project/AboutInfo.h"
#include "project/ContentsFile.h"
#include "project/ProjectFileKeys.h"

namespace tarnbook::project {
namespace {

using platform::cp932ToUtf8;

constexpr const char* kTooOld =
    "cntmigrate.exe "
    "を実行して\nプロジェクトファイルのコンバートを行ってください\n指定されたプロジェクトは読み込め"
    "ません :)";
std::string upgradeQuestion() {
    return "Build " + versionString(10) +
           " でプロジェクト保存後は、以前のバージョンの「Tarnbook」でプロジェクトの編集はできなくな"
           "ります。"
           "\n"
           "重要なデータは編集作業を行う前にバックアップする事をお奨めします。\n"
           "続行して良い場合は「はい」を、今読み込みをしない場合は「キャンセル」を押してください";
}

std::string lower(std::string_view s) {
    return platform::lowerCaseSjis(s);
}

// Starts the converter for very old projects when it ships beside the program.
void offerOldProjectConverter(Workspace& ws, const platform::IniFile& ini) {
    ws.prompts.confirm(kTooOld, ui::Buttons::Yes);
    const std::string converter = platform::joinPath(platform::programFolder(), "cntmigrate.exe");
    const std::string folder = ini.readString("XHP", "PDir");
    if (platform::fileExists(converter) && platform::folderExists(folder)) {
        platform::openWithDefaultProgram(converter);
        platform::openWithDefaultProgram(folder);
    }
}

// Rewrites the paths of a project whose folder was moved or renamed, when its contents file
// is found in the new place. A difference in letter case only is no move.
void repairMovedProject(platform::IniFile& ini, const std::string& path) {
    const std::string folder = platform::folderPart(path);
    const std::string stored = ini.readString("XHP", "PDir");
    // Letter case and the separator style (backslashes as Windows wrote them) are no move.
    if (lower(platform::slashSeparators(stored)) == lower(platform::slashSeparators(folder)))
        return;
    const std::string name = ini.readString("XHP", "Name");
    const std::string contents = folder + "\\" + name + ".XHC";
    if (!platform::fileExists(contents)) return;
    ini.writeString("XHP", "PDir", folder);
    ini.writeString("XHP", "XHP", path);
    ini.writeString("XHP", "XHC", contents);
    ini.save();
}

void showDefaultPage(Workspace& ws) {
    const std::string page = ws.settings.readString("SYSTEM", "DefHTML", " ");
    if (platform::fileExists(page)) {
        ws.preview.show(page);
        ws.currentPage = page;
    } else {
        ws.prompts.warn("ファイル [ " + cp932ToUtf8(page) +
                        " ] が見つかりません。\n「環境設定」で正しいパスを指定して下さい。");
    }
}

// The project file's Count when it is a whole number that is not negative.
std::optional<std::size_t> declaredCount(const platform::IniFile& ini) {
    const std::string text = ini.readString("XHP", "Count");
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<std::size_t>(std::stoull(text));
}

// Keys that name files the program writes must stay inside the project's folder: the
// contents file beside the project file, a name that is a plain file name. Returns the
// message for a key that does not, empty when all are sound.
std::string unsafeKeyMessage(const platform::IniFile& ini, const std::string& path) {
    const std::string name = ini.readString("XHP", "Name");
    if (name.empty() || !platform::isValidFileName(name) || name == "." || name == "..")
        return "プロジェクトファイルの Name [ " + cp932ToUtf8(name) +
               " ] はファイル名として使えません。\nプロジェクトは読み込みません。";
    const std::string contents = ini.readString("XHP", "XHC");
    const std::string folder = lower(platform::slashSeparators(platform::folderPart(path)));
    const std::string contentsName = lower(platform::fileNamePart(contents));
    const bool beside = lower(platform::slashSeparators(platform::folderPart(contents))) == folder;
    const bool isContentsFile =
        contentsName.size() > 4 && contentsName.compare(contentsName.size() - 4, 4, ".xhc") == 0;
    if (!beside || !isContentsFile)
        return "プロジェクトファイルの XHC [ " + cp932ToUtf8(contents) +
               " ] はプロジェクトフォルダのコンテンツファイルではありません。\n"
               "プロジェクトは読み込みません。";
    if (platform::pathExists(contents) && !platform::fileExists(contents))
        return "コンテンツファイル [ " + cp932ToUtf8(contents) +
               " ] はファイルではありません。\nプロジェクトは読み込みません。";
    return {};
}

// Fills the tree from the contents file as its size shows it to be; tells the user when
// the project file's Count disagrees, and keeps every record the file holds so a later
// save cannot drop any.
void readContents(Workspace& ws, ContentsShape shape, RecordLayout declared) {
    const std::optional<std::size_t> count = declaredCount(*ws.project);
    ws.clearEditor();
    ContentsReadResult r;
    {
        // The progress window is gone before any message below shows: a window-modal
        // progress window would cover the message and its button.
        const int steps = static_cast<int>(std::min<std::size_t>(shape.records, 1u << 30));
        ws.status.beginProgressWindow("コンテンツ読み込み中", steps > 0 ? steps - 1 : 0);
        struct EndProgress {
            ui::StatusDisplay& s;
            ~EndProgress() {
                s.setProgressWindowPosition(0);
                s.endProgressWindow();
            }
        } endProgress{ws.status};
        const std::size_t step = std::max<std::size_t>(1, shape.records / 100);
        r = readContentsFile(ws.contentsFile(), shape.layout, shape.records, ws.tree,
                             [&](std::size_t i, std::size_t) {
                                 if (i % step == 0)
                                     ws.status.setProgressWindowPosition(static_cast<int>(i));
                             });
    }
    // The project counts as changed in each case so the next save makes the two files agree
    // again, but nothing is written unless the author saves.
    if (r.shortFile || count != r.recordsRead) {
        ws.saved = false;
        ws.prompts.warn(
            "コンテンツファイルのノード数がプロジェクトファイルと一致しません。\n"
            "Count=" +
            cp932ToUtf8(ws.project->readString("XHP", "Count")) + " ですが、" +
            std::to_string(r.recordsRead) +
            " 件のノードを読み込みました。\n保存するまでファイルは変更されません。");
    } else if (shape.layout != declared) {
        ws.saved = false;
    }
    showDefaultPage(ws);
}

}  // namespace

std::string windowTitle(const Workspace& ws) {
    return startupTitle() + " [ " + cp932ToUtf8(ws.projectName()) + " ]";
}

void refreshStatus(Workspace& ws) {
    ws.status.setStatusText(2, ws.saved ? "保存済み" : "未保存");
    ws.status.setPageVisible(ui::Page::Resources, ws.hasProject());
    ws.status.setProjectUiEnabled(ws.hasProject());
}

bool askToSaveChanges(Workspace& ws, bool withCancel) {
    if (ws.saved) return true;
    const std::string text =
        "現在のプロジェクト [ " + cp932ToUtf8(ws.projectName()) + " ] への変更を保存しますか?";
    ui::Answer a =
        ws.prompts.confirm(text, withCancel ? ui::Buttons::YesNoCancel : ui::Buttons::YesNo);
    if (a == ui::Answer::Cancel) return false;
    if (a == ui::Answer::Yes) saveProject(ws);
    return true;
}

bool openProject(Workspace& ws, const std::string& path) {
    if (!askToSaveChanges(ws, true)) return false;
    if (!platform::fileExists(path)) {
        refreshStatus(ws);
        return false;
    }
    platform::IniFile ini = platform::IniFile::load(path);
    ini.setPath(path);

    const int version = ini.readInteger("XHP", "Version", 0);
    RecordLayout layout = RecordLayout::Current;
    bool upgraded = false;
    if (version < 180) {
        offerOldProjectConverter(ws, ini);
        return false;
    }
    if (version < 240) {
        if (ws.prompts.confirm(upgradeQuestion(), ui::Buttons::YesCancel) != ui::Answer::Yes)
            return false;
        layout = RecordLayout::Previous;
        upgraded = true;
    }

    repairMovedProject(ini, path);
    if (const std::string problem = unsafeKeyMessage(ini, path); !problem.empty()) {
        ws.prompts.warn(problem);
        return false;
    }
    const std::string contents = ini.readString("XHP", "XHC");
    std::optional<ContentsShape> shape;
    if (platform::fileExists(contents)) {
        const auto size = static_cast<std::uint64_t>(platform::fileSize(contents));
        shape = contentsShape(size, layout, declaredCount(ini));
        if (!shape) {
            ws.prompts.warn("コンテンツファイル [ " + cp932ToUtf8(contents) + " ] の大きさ (" +
                            std::to_string(size) +
                            " バイト) がノードの大きさの倍数ではありません。\n"
                            "ファイルが壊れています。プロジェクトは読み込みません。");
            return false;
        }
    }
    // Temporaries of a save that was killed before it could rename them.
    platform::removeInterruptedWrites(path);
    platform::removeInterruptedWrites(contents);

    ws.project = std::move(ini);
    ws.currentPage.clear();
    ws.status.setStatusText(0, "");  // the previous project's page path
    ws.saved = true;

    if (shape) {
        readContents(ws, *shape, layout);
        if (upgraded) ws.saved = false;
    } else {
        ws.tree.clear();
    }
    // A compiled-file name that points out of the folder is confined here, once, so that the
    // author is told and the next save stores what the build will really write.
    if (const std::string w = compiledFileNameWarning(*ws.project); !w.empty()) {
        ws.project->writeString("XHP", "FileName", compiledFileName(*ws.project));
        ws.saved = false;
        ws.prompts.warn(w);
    }
    ws.status.setTitle(windowTitle(ws));
    ws.status.activatePage(ui::Page::Preview);
    refreshStatus(ws);
    return true;
}

void saveProject(Workspace& ws) {
    if (ws.saved || !ws.project) {
        refreshStatus(ws);
        return;
    }
    // Records first (atomically), then the project file with the new count: an interrupted
    // save leaves the previous project readable.
    const std::size_t written = writeContentsFile(ws.contentsFile(), ws.tree);
    ws.project->writeInteger("XHP", "Version", kCurrentProjectVersion);
    ws.project->writeInteger("XHP", "Count", static_cast<long long>(written));
    ws.project->save();
    if (ws.rememberRecentProject)
        ws.rememberRecentProject(platform::upperCaseSjis(ws.projectFile()));
    ws.saved = true;
    refreshStatus(ws);
}

bool newProject(Workspace& ws, const std::function<bool(Workspace&)>& runWizard) {
    if (!askToSaveChanges(ws, false)) return false;
    ws.saved = true;
    if (!runWizard(ws)) return false;
    ws.tree.clear();
    ws.clearEditor();
    ws.status.setPageVisible(ui::Page::Editor, false);
    ws.currentPage.clear();
    if (!ws.projectFile().empty()) {
        refreshStatus(ws);
        ws.status.setTitle(windowTitle(ws));
        ws.saved = false;
        ws.tree.selectOnly(nullptr);
        ws.status.activatePage(ui::Page::Preview);
    }
    refreshStatus(ws);
    ws.currentPage.clear();
    return true;
}

namespace {

// Copies a folder's files and sub-folders into another folder.
void copyFolderContents(const std::string& from, const std::string& to) {
    for (const auto& e : platform::listFolder(from)) {
        const std::string src = from + "\\" + e.name;
        const std::string dst = to + "\\" + e.name;
        if (e.isFolder) {
            if (!platform::createFolders(dst))
                throw platform::IoError("フォルダを作成できません: " + cp932ToUtf8(dst));
            copyFolderContents(src, dst);
        } else if (!platform::copyFile(src, dst, false)) {
            throw platform::IoError("ファイルをコピーできません: " + cp932ToUtf8(src));
        }
    }
}

// Every occurrence of `from` in `text`, compared without regard to case, replaced by `to`.
std::string replaceIgnoringCase(const std::string& text, const std::string& from,
                                const std::string& to) {
    if (from.empty()) return text;
    const std::string lt = lower(text), lf = lower(from);
    std::string out;
    std::size_t pos = 0;
    while (true) {
        std::size_t hit = platform::findSjis(lt, lf, pos);
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        out += to;
        pos = hit + from.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

}  // namespace

void saveProjectAs(Workspace& ws, const std::string& projectsFolder, const std::string& newName) {
    if (!ws.project) return;
    const std::string folder = projectsFolder + "\\" + newName;
    const std::string resources = folder + "\\_RESOURCE";
    if (!platform::createFolder(folder))
        throw platform::IoError("フォルダを作成できません: " + cp932ToUtf8(folder));
    if (!platform::createFolder(resources))
        throw platform::IoError("フォルダを作成できません: " + cp932ToUtf8(resources));

    const std::string newXhp = folder + "\\" + newName + ".XHP";
    const std::string newXhc = folder + "\\" + newName + ".XHC";
    if (!platform::copyFile(ws.projectFile(), newXhp, false))
        throw platform::IoError("ファイルをコピーできません: " + cp932ToUtf8(ws.projectFile()));
    platform::IniFile copy = platform::IniFile::load(newXhp);
    copy.setPath(newXhp);
    copy.writeString("XHP", "PDir", folder);
    copy.writeString("XHP", "NAME", newName);
    copy.writeString("XHP", "XHP", newXhp);
    copy.writeString("XHP", "XHC", newXhc);
    copy.save();

    // The copy stores each keyword whole in the first field of its pair, cut at 255 bytes.
    const std::string oldResources = ws.projectFolder() + "\\_RESOURCE";
    std::size_t written = 0;
    platform::writeFileAtomicStreamed(
        newXhc, [&](const std::function<void(std::string_view)>& sink) {
            std::string record(kCurrentRecordSize, '\0');
            forEachRecord(ws.tree, [&](const TreeNode& node, int level) {
                TData d = node.data;
                d.HTML = replaceIgnoringCase(d.HTML, oldResources, resources);
                encodeRecord(d, level, record.data(), KeywordStorage::WholeInFirstField);
                sink(record);
                ++written;
            });
        });
    copy.writeInteger("XHP", "Version", kCurrentProjectVersion);
    copy.writeInteger("XHP", "Count", static_cast<long long>(written));
    copy.save();

    copyFolderContents(oldResources, resources);
}

void writeSettings(Workspace& ws) {
    if (ws.beforeSettingsWrite) ws.beforeSettingsWrite();
    if (!ws.settings.path().empty()) ws.settings.save();
}

bool closeQuery(Workspace& ws) {
    bool mayClose = true;
    try {
        mayClose = askToSaveChanges(ws, true);
    } catch (...) {
        writeSettings(ws);
        throw;
    }
    writeSettings(ws);
    return mayClose;
}

}  // namespace tarnbook::project
