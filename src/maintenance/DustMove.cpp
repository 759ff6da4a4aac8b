#include "maintenance/DustMove.h"

#include <set>

#include "authoring/ResourceRegistry.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace tarnbook::maintenance {
namespace {

// Longer paths first: a folder comes after every folder inside it, so one that held only
// emptied folders goes as well.
struct DeeperFirst {
    bool operator()(const std::string& a, const std::string& b) const {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    }
};

void moveOne(std::string_view resourceFolder, const std::string& relative,
             std::string_view dustFolder, MoveReport& report,
             std::set<std::string, DeeperFirst>& leftFolders) {
    const std::string source =
        platform::joinPath(resourceFolder, platform::slashSeparators(relative));
    bool escapes = false;
    const std::string normal = platform::normalizeRelative(relative, &escapes);
    if (escapes || normal.empty() || platform::isAbsolutePath(relative)) {
        report.failed.push_back({source, "リソースフォルダ内のファイルではありません。"});
        return;
    }
    const std::string target = platform::joinPath(dustFolder, platform::slashSeparators(normal));
    std::string copy;
    try {
        copy = authoring::copyIntoResource(source, target);
    } catch (const platform::IoError& e) {
        report.failed.push_back({source, e.what()});
        return;
    }
    if (platform::fileSize(copy) != platform::fileSize(source)) {
        platform::deleteFile(copy);
        report.failed.push_back({source, "移動先へのコピーが完全ではありません。"});
        return;
    }
    if (!platform::deleteFile(source)) {
        report.failed.push_back(
            {source, "[ " + platform::cp932ToUtf8(copy) +
                         " ] へコピーしましたが、元のファイルを削除できません。"});
        return;
    }
    report.moved.push_back({source, copy});
    for (std::string folder = platform::folderPart(normal); !folder.empty();
         folder = platform::folderPart(folder))
        leftFolders.insert(folder);
}

}  // namespace

std::string dustFolderFor(std::string_view projectName) {
    std::string name = platform::replaceAllSjis(projectName, "\\", "_");
    name = platform::replaceAllSjis(name, "/", "_");
    return platform::joinPath(platform::desktopFolder(), "$QLT$Dust$" + name);
}

MoveReport moveToDust(std::string_view resourceFolder, const std::vector<std::string>& files,
                      std::string_view dustFolder, const MoveProgress& progress) {
    MoveReport report;
    report.dustFolder = std::string(dustFolder);
    std::set<std::string, DeeperFirst> leftFolders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (progress) progress(i, files.size());
        moveOne(resourceFolder, files[i], dustFolder, report, leftFolders);
    }
    if (progress) progress(files.size(), files.size());
    for (const std::string& folder : leftFolders)
        platform::removeEmptyFolder(
            platform::joinPath(resourceFolder, platform::slashSeparators(folder)));
    return report;
}

}  // namespace tarnbook::maintenance
