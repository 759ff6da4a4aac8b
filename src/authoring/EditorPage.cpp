#include "authoring/EditorPage.h"

#include "authoring/tags/NodeAnchor.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "project/ProjectLifecycle.h"

namespace tarnbook::authoring {

using project::TreeNode;
using project::Workspace;

namespace {

// The standard page and the pages of the template folders come with the program: editing a
// project's pages never writes them.
bool isProgramPage(const Workspace& ws, const std::string& path) {
    const std::string file = platform::resolvedPath(path);
    if (file.empty()) return false;
    const std::string standard =
        platform::resolvedPath(ws.settings.readString("SYSTEM", "DefHTML", ""));
    if (!standard.empty() && file == standard) return true;
    for (const std::string& folder : {ws.settings.readString("SYSTEM", "TEMPLATE", ""),
                                      platform::joinPath(platform::appFolder(), "TEMPLATE")}) {
        std::string f = folder.empty() ? std::string() : platform::resolvedPath(folder);
        if (f.empty()) continue;
        if (f.back() != '/') f += '/';
        if (file.compare(0, f.size(), f) == 0) return true;
    }
    return false;
}

}  // namespace

std::string nodePageFullPath(const Workspace& ws, const TreeNode& node) {
    const std::string& html = node.data.HTML;
    if (html.empty()) return {};
    if (platform::isAbsolutePath(html)) return html;
    return ws.resourceFolder() + "\\" + html;
}

bool editorPageVisible(const Workspace& ws) {
    if (!ws.hasProject()) return false;
    const TreeNode* n = ws.tree.focused();
    if (!n || n->data.HTML.empty()) return false;
    if (platform::lowerCaseSjis(platform::extensionPart(n->data.HTML)) == ".mht") return false;
    return !n->data.isWebLink();
}

void refreshWindowState(Workspace& ws) {
    project::refreshStatus(ws);
    ws.status.setPageVisible(ui::Page::Editor, editorPageVisible(ws));
}

bool tagSave(Workspace& ws, const std::function<void()>& showSelectedNode) {
    if (!ws.editor.modified() || ws.editorFile.empty() || isProgramPage(ws, ws.editorFile))
        return false;
    platform::writeLinesCrLf(ws.editorFile, ws.editor.lines());
    ws.editor.setModified(false);
    ws.currentPage.clear();
    ws.rightClick = false;
    if (showSelectedNode) showSelectedNode();
    refreshWindowState(ws);
    return true;
}

void deletePreviewTempFile(Workspace& ws) {
    if (ws.previewTempFile.empty()) return;
    platform::deleteFile(ws.previewTempFile);
    ws.previewTempFile.clear();
}

void pageChanged(Workspace& ws, ui::Page page, const std::function<void()>& buildResourceView) {
    const TreeNode* n = ws.tree.focused();
    if (n && page == ui::Page::Preview && ws.editor.modified() && !ws.editorFile.empty() &&
        // The node display and this check spell the path differently: compare the files.
        platform::nativePath(nodePageFullPath(ws, *n)) == platform::nativePath(ws.editorFile)) {
        deletePreviewTempFile(ws);
        // The page keeps its extension so the browser renders it as HTML.
        std::string ext = platform::extensionPart(ws.editorFile);
        if (ext.empty()) ext = ".htm";
        const std::string temp = platform::makeTempFile("QLT", ext);
        ws.previewTempFile = temp;
        platform::writeLinesCrLf(temp, ws.editor.lines());
        ws.preview.show(temp);
    } else {
        deletePreviewTempFile(ws);
    }
    if (page == ui::Page::Editor && editorPageVisible(ws)) {
        ws.editor.takeFocus();
        if (n) selectNodeAnchor(ws.editor, n->data.Anchor);
    } else if (page == ui::Page::Resources && buildResourceView) {
        buildResourceView();
    }
    refreshWindowState(ws);
}

std::string pasteBytes(std::u16string_view clipboard, bool withLineBreakCodes) {
    if (!withLineBreakCodes) return platform::encodeCp932(clipboard);
    std::u16string out;
    out.reserve(clipboard.size() + 16);
    for (std::size_t i = 0; i < clipboard.size(); ++i) {
        const char16_t c = clipboard[i];
        if (c == u'\r' || c == u'\n') {
            out += u"<br/>\r\n";
            if (c == u'\r' && i + 1 < clipboard.size() && clipboard[i + 1] == u'\n') ++i;
        } else {
            out += c;
        }
    }
    return platform::encodeCp932(out);
}

void openExternalEditor(Workspace& ws) {
    const TreeNode* n = ws.tree.focused();
    if (!n) return;
    const std::string path = nodePageFullPath(ws, *n);
    const std::string program = ws.settings.readString("SYSTEM", "EditHTML", "");
    if (path.empty() || program.empty() || program == " ") return;
    // No error is reported when the editor cannot be started.
    platform::startDetached(program, {path});
}

void openProjectFolder(Workspace& ws) {
    if (ws.hasProject() && platform::folderExists(ws.projectFolder()) &&
        !platform::openWithDefaultProgram(ws.projectFolder()))
        ws.prompts.warn("フォルダ [ " + platform::cp932ToUtf8(ws.projectFolder()) +
                        " ] を開くプログラムが見つかりません。");
    refreshWindowState(ws);
}

void setPreviewTextSize(Workspace& ws, int size) {
    if (size < 1 || size > 4) return;
    ws.preview.setTextSize(size);
    ws.settings.writeInteger("SYSTEM", "BaseFSize", size);
}

int basePreviewTextSize(const Workspace& ws) {
    const int v = ws.settings.readInteger("SYSTEM", "BaseFSize", 3);
    return v >= 1 && v <= 4 ? v : 3;
}

}  // namespace tarnbook::authoring
