#include "authoring/tags/TagFiles.h"

#include "authoring/ResourceRegistry.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace tarnbook::authoring {

namespace {

bool isWebLink(const project::TreeNode& node) {
    return node.data.isWebLink() || project::namesWebAddress(node.data.HTML);
}

}  // namespace

std::string copyUnlessPresent(std::string_view source, std::string_view folder) {
    const std::string name = platform::fileNamePart(source);
    const std::string target = platform::joinPath(folder, name);
    if (platform::pathExists(target)) return name;
    if (!platform::folderExists(folder) && !platform::createFolders(folder))
        throw platform::IoError("フォルダ [ " + platform::cp932ToUtf8(folder) +
                                " ] を作成できません。");
    if (!platform::copyFile(source, target, true))
        throw platform::IoError("ファイル [ " + platform::cp932ToUtf8(source) +
                                " ] をコピーできません。");
    return name;
}

std::string bringIntoResourceFolder(project::Workspace& ws, std::string_view source) {
    const std::string name = copyUnlessPresent(source, resourceFolder(ws));
    additionCheck(ws, name);
    return name;
}

std::vector<PageRef> projectPages(const project::Workspace& ws) {
    std::vector<PageRef> pages;
    ws.tree.forEach([&](project::TreeNode& node) {
        if (node.data.HTML.empty()) return;
        pages.push_back({node.data.Title,
                         isWebLink(node) ? node.data.HTML : resourceFullPath(ws, node.data.HTML)});
    });
    return pages;
}

}  // namespace tarnbook::authoring
