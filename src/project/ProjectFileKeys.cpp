#include "project/ProjectFileKeys.h"

#include <array>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::project {
namespace {

constexpr std::array<const char*, 3> kLinkedKeys = {"MAP", "PopupTxt", "UserAlias"};

bool usableName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && platform::isValidFileName(name);
}

// A relative path whose every part is a usable name: it cannot leave the project folder.
bool staysInside(const std::string& path) {
    if (path.empty() || platform::isAbsolutePath(path)) return false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !platform::isSeparatorAt(path, i)) continue;
        if (!usableName(path.substr(start, i - start))) return false;
        start = i + 1;
    }
    return true;
}

std::string fallbackName(const platform::IniFile& project) {
    const std::string name = project.readString("XHP", "Name");
    return usableName(name) ? name + ".chm" : std::string("Default.chm");
}

}  // namespace

std::string compiledFileName(const platform::IniFile& project) {
    const std::string stored = project.readString("XHP", "FileName", "Default.chm");
    const std::string name = platform::fileNamePart(stored);
    return usableName(name) ? name : fallbackName(project);
}

std::string compiledFileNameWarning(const platform::IniFile& project) {
    const std::string stored = project.readString("XHP", "FileName", "Default.chm");
    const std::string used = compiledFileName(project);
    if (stored.empty() || stored == used) return {};
    return "プロジェクトファイルの FileName [ " + platform::cp932ToUtf8(stored) +
           " ] はプロジェクトフォルダの外を指しています。\nコンパイル済みヘルプは [ " +
           platform::cp932ToUtf8(used) + " ] としてプロジェクトフォルダに作成します。";
}

std::string linkedFileName(const platform::IniFile& project, const char* key) {
    const std::string name = platform::fileNamePart(project.readString("XHP", key));
    return usableName(name) ? name : std::string();
}

std::string linkedFilePath(const platform::IniFile& project, const char* key) {
    const std::string stored = project.readString("XHP", key);
    return staysInside(stored) ? stored : linkedFileName(project, key);
}

std::vector<std::string> copyLinkedFilesIn(const platform::IniFile& project,
                                           const std::string& projectFolder, LinkedCopy which) {
    std::vector<std::string> copied;
    for (const char* key : kLinkedKeys) {
        const std::string stored = project.readString("XHP", key);
        const std::string name = linkedFileName(project, key);
        if (name.empty() || (which == LinkedCopy::FromOutside && staysInside(stored))) continue;
        const std::string inside = platform::joinPath(projectFolder, name);
        if (platform::fileExists(inside)) continue;
        const std::string source =
            platform::isAbsolutePath(stored) ? stored : platform::joinPath(projectFolder, stored);
        if (platform::fileExists(source) && platform::copyFile(source, inside, true))
            copied.push_back(inside);
    }
    return copied;
}

}  // namespace tarnbook::project
