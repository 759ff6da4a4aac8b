#include "contents/NodeSelection.h"

#include "authoring/ResourceRegistry.h"
#include "authoring/tags/NodeAnchor.h"
#include "contents/TreeOps.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "project/ProjectLifecycle.h"

namespace tarnbook::contents {

using project::TreeNode;
using project::Workspace;

namespace {

void warnMissing(Workspace& ws, const std::string& path) {
    ws.prompts.warn("ファイル [ " + platform::cp932ToUtf8(path) + " ] が見つかりません。",
                    ui::Buttons::Ok);
}

void call(const std::function<void()>& hook) {
    if (hook) hook();
}

// Loads an existing page (not rich text) into the editor.
void loadIntoEditor(Workspace& ws, const TreeNode& node, const std::string& path,
                    const TreeHooks& hooks) {
    ws.clearEditor();
    if (platform::lowerCaseSjis(platform::extensionPart(path)) != ".mht") {
        ws.editor.setTextBytes(platform::readFile(path));
        ws.editorFile = path;
        call(hooks.highlightTags);
        ws.editor.setReadOnly(false);
        if (!node.data.Anchor.empty() && hooks.editorPageShowing && hooks.editorPageShowing())
            authoring::selectNodeAnchor(ws.editor, node.data.Anchor);
    }
    ws.editor.setModified(false);
    std::string shown = path;
    if (!node.data.Anchor.empty()) shown += "#" + node.data.Anchor;
    ws.status.setStatusText(0, platform::cp932ToUtf8(shown));
}

}  // namespace

FixedPages fixedPages(const Workspace& ws) {
    FixedPages f;
    f.defaultPage = ws.settings.readString("SYSTEM", "DefHTML", " ");
    const std::string templ = ws.settings.readString("SYSTEM", "TEMPLATE", " ");
    f.notFound = platform::joinPath(templ, "NotFound.HTML");
    f.remote = platform::joinPath(templ, "Remote.HTML");
    f.alert = ws.settings.readString("SYSTEM", "ALERT2", f.remote);
    return f;
}

void showSelectedNode(Workspace& ws, const TreeHooks& hooks) {
    const FixedPages pages = fixedPages(ws);
    TreeNode* node = ws.tree.focused();
    const bool rightClickRefresh = ws.settings.readBool("SYSTEM", "RClickRefresh", false);

    if (!node && pages.defaultPage != ws.currentPage) {
        if (platform::fileExists(pages.defaultPage))
            ws.preview.show(pages.defaultPage);
        else
            warnMissing(ws, pages.defaultPage);
    }

    if (node && (!ws.rightClick || rightClickRefresh)) {
        const auto& d = node->data;
        std::string target = pages.defaultPage;
        const std::string path = authoring::resourceFullPath(ws, d.HTML);
        if (!d.HTML.empty() && path != pages.defaultPage && path != pages.notFound &&
            path != pages.remote) {
            target = path;
            const bool exists = platform::fileExists(path);
            // Only the exact upper-case extension marks rich text; ".rtf" is shown as source.
            if (exists && platform::extensionPart(path) != ".RTF") {
                loadIntoEditor(ws, *node, path, hooks);
            } else if (exists) {
                target = pages.defaultPage;
                ws.clearEditor();
                ws.editor.loadRichText(path);
                ws.status.activatePage(ui::Page::Editor);
            } else {
                target = pages.notFound;
            }
        } else {
            ws.clearEditor();
            ws.editor.setReadOnly(true);
            ws.status.activatePage(ui::Page::Preview);
        }
        ws.editor.setModified(false);
        if (d.isWebLink()) target = pages.remote;

        const bool navigate = (target != ws.currentPage && !ws.rightClick) ||
                              (ws.rightClick && rightClickRefresh) ||
                              (target == ws.currentPage && !ws.rightClick && !d.Anchor.empty());
        if (navigate) {
            ws.status.activatePage(ui::Page::Preview);
            if (!d.Anchor.empty()) {
                ws.preview.show(target + "#" + d.Anchor);
                ws.currentPage = target;
            } else if (platform::fileExists(target)) {
                ws.preview.show(target);
                ws.currentPage = target;
            } else {
                warnMissing(ws, target);
            }
        }
    }

    if (ws.hasProject()) project::refreshStatus(ws);
    if (ws.rightClick && ws.hasProject()) call(hooks.openContextMenu);
}

void treeMouseDown(Workspace& ws, const MousePress& press, const TreeHooks& hooks) {
    ws.rightClick = false;
    if (!press.node) {
        ws.tree.selectOnly(nullptr);
        ws.status.setPageVisible(ui::Page::Editor, false);
    }
    if (press.right) {
        if (press.node) ws.tree.selectOnly(press.node);
        ws.rightClick = true;
        showSelectedNode(ws, hooks);
    }
    ws.isMultiSelect = press.left && !press.alt && !press.right && (press.shift != press.ctrl);
}

void treeKeyDown(Workspace& ws, const KeyPress& press, const TreeHooks& hooks) {
    if (press.key == TreeKey::A && press.ctrl && press.shift && !press.alt && !ws.tree.empty())
        setAllExpanded(ws.tree, true);
    ws.isMultiSelect = false;
    TreeNode* node = ws.tree.focused();
    if (!node) return;
    if (press.key == TreeKey::Enter) showSelectedNode(ws, hooks);

    if (press.ctrl && !press.shift && !press.alt) {
        const std::string alert = fixedPages(ws).alert;
        switch (press.key) {
            case TreeKey::Tab:
                toggleNodeIcon(ws);
                break;
            case TreeKey::Enter:
                if (ws.currentPage != alert) call(hooks.editHtml);
                break;
            case TreeKey::PageUp:
                setExpandedRecursively(ws.tree, node, true);
                break;
            case TreeKey::PageDown:
                setExpandedRecursively(ws.tree, node, false);
                break;
            case TreeKey::Home: {
                if (ws.currentPage == alert) break;
                const std::string editor = ws.settings.readString("SYSTEM", "EditTXT");
                // A node without a page would hand the editor the resource folder itself.
                if (editor.empty() || node->data.HTML.empty()) break;
                const std::string page = authoring::resourceFullPath(ws, node->data.HTML);
                if (!platform::startDetached(editor, {page}))
                    ws.prompts.warn(
                        "プログラム [ " + platform::cp932ToUtf8(editor) + " ] を起動できません。",
                        ui::Buttons::Ok);
                break;
            }
            case TreeKey::Left:
                moveLeft(ws);
                break;
            case TreeKey::Up:
                moveUp(ws);
                break;
            case TreeKey::Right:
                moveRight(ws);
                break;
            case TreeKey::Down:
                moveDown(ws);
                break;
            default:
                break;
        }
        return;
    }
    if (press.shift && !press.ctrl && !press.alt) ws.isMultiSelect = true;
    if (press.key == TreeKey::Left && hooks.scrollHorizontally) hooks.scrollHorizontally(-1);
    if (press.key == TreeKey::Right && hooks.scrollHorizontally) hooks.scrollHorizontally(1);
}

void dropOnTree(Workspace& ws, const std::vector<std::string>& files, const TreeHooks& hooks) {
    if (files.size() == 1 && platform::lowerCaseSjis(platform::extensionPart(files[0])) == ".xhp") {
        if (!platform::fileExists(files[0])) {
            warnMissing(ws, files[0]);
            return;
        }
        if (ws.rememberRecentProject) ws.rememberRecentProject(platform::upperCaseSjis(files[0]));
        project::openProject(ws, files[0]);
        return;
    }
    if (!ws.hasProject() || files.empty()) return;
    ws.tree.selectOnly(nullptr);
    bool asked = false;
    int titleSource = 1;
    for (const auto& file : files) {
        if (!hooks.isDropImportable || !hooks.isDropImportable(file)) continue;
        if (!platform::fileExists(file)) {
            warnMissing(ws, file);
            continue;
        }
        if (!asked) {
            const std::optional<int> choice =
                hooks.askTitleSource ? hooks.askTitleSource() : std::optional<int>(1);
            if (!choice) return;
            titleSource = *choice == 0 ? 0 : 1;
            asked = true;
        }
        TreeNode* parent = hooks.nodeAtDropPoint ? hooks.nodeAtDropPoint() : nullptr;
        if (hooks.importOneFile) hooks.importOneFile(file, parent, titleSource, std::string());
        ws.markChanged();
        project::refreshStatus(ws);
    }
}

}  // namespace tarnbook::contents
