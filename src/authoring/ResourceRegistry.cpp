#include "authoring/ResourceRegistry.h"

#include <cstdio>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "project/ResourcePaths.h"

namespace tarnbook::authoring {

using platform::backslashSeparators;
using platform::upperCaseSjis;
using project::Workspace;

namespace {

constexpr std::string_view kSection = "Addition";
using project::kResourcePrefix;

const char* const kOutsideResourceFolder =
    "プロジェクトファイルのリソースディレクトリ\n内のファイルのみ追加できます。\n"
    "プロジェクトリソースディレクトリに無いファイルは\nここにドロップする事で追加できます。";
const char* const kNameTaken =
    "プロジェクトファイルのリソースディレクトリ\n内に同名のファイルが存在します。";

// "<PDIR>\_RESOURCE\" upper-cased with '\' separators: the text searched for in paths.
std::string resourceKey(const Workspace& ws) {
    return project::resourceKey(ws.projectFolder());
}

std::string entryKey(std::size_t n, const char* what) {
    return what + std::to_string(n);
}

bool hasEntry(const platform::IniFile& ini, std::string_view file) {
    const int count = ini.readInteger(kSection, "Count", 0);
    for (int n = 1; n <= count; ++n)
        if (ini.readString(kSection, entryKey(static_cast<std::size_t>(n), "File")) == file)
            return true;
    return false;
}

// Appends an entry unless an equal one exists; saves the project file when it appends.
bool appendEntry(Workspace& ws, const std::string& file) {
    platform::IniFile& ini = *ws.project;
    if (hasEntry(ini, file)) return false;
    const int n = ini.readInteger(kSection, "Count", 0) + 1;
    ini.writeInteger(kSection, "Count", n);
    ini.writeString(kSection, entryKey(static_cast<std::size_t>(n), "File"), file);
    ini.save();
    return true;
}

std::string sizeColumn(const std::string& fullPath, const char* missing) {
    if (!platform::fileExists(fullPath)) return missing;
    const std::int64_t size = platform::fileSize(fullPath);
    return sizeText(size < 0 ? 0 : static_cast<std::uint64_t>(size));
}

std::string lowerExtension(std::string_view path) {
    return platform::lowerCaseSjis(platform::extensionPart(path));
}

}  // namespace

std::string resourceFolder(const Workspace& ws) {
    return platform::joinPath(ws.projectFolder(), "_RESOURCE");
}

bool inResourceFolder(const Workspace& ws, std::string_view path) {
    if (!ws.hasProject()) return false;
    return platform::findSjis(upperCaseSjis(backslashSeparators(path)), resourceKey(ws)) !=
           std::string::npos;
}

std::string resourceRelativeName(const Workspace& ws, std::string_view path) {
    if (!ws.hasProject()) return std::string(path);
    return project::resourceRelativeName(ws.projectFolder(), path);
}

std::string resourceFullPath(const Workspace& ws, std::string_view name) {
    if (!ws.hasProject()) return std::string(name);
    // The project folder keeps its own letter case: on a case-sensitive file system an
    // upper-cased folder would name a different place.
    return platform::joinPath(resourceFolder(ws), platform::slashSeparators(name));
}

void additionCheck(Workspace& ws, std::string_view name) {
    if (!ws.hasProject()) return;
    appendEntry(ws, std::string(kResourcePrefix) + backslashSeparators(name));
}

std::string copyIntoResource(std::string_view source, std::string_view target) {
    const std::string folder = platform::folderPart(target);
    if (!folder.empty() && !platform::folderExists(folder) && !platform::createFolders(folder))
        throw platform::IoError("フォルダ [ " + platform::cp932ToUtf8(folder) +
                                " ] を作成できません。");
    const std::string name = platform::fileNamePart(source);
    std::string copy = platform::joinPath(folder, name);
    if (platform::pathExists(copy)) {
        const std::string base = platform::baseName(name);
        const std::string ext = platform::extensionPart(name);
        for (unsigned k = 1;; ++k) {
            copy = platform::joinPath(folder, base + "(" + std::to_string(k) + ")" + ext);
            if (!platform::pathExists(copy)) break;
        }
    }
    if (!platform::copyFile(source, copy, true))
        throw platform::IoError("ファイル [ " + platform::cp932ToUtf8(source) +
                                " ] をコピーできません。");
    return copy;
}

bool copyCompanionFolder(const Workspace& ws, std::string_view page, const CopyProgress& progress) {
    const std::string ext = lowerExtension(page);
    if (ext != ".htm" && ext != ".html") return false;
    if (!ws.hasProject() || !platform::folderExists(ws.projectFolder())) return false;
    const std::string stem(page.substr(0, page.size() - ext.size()));
    for (const char* suffix : {"_files", ".files"}) {
        const std::string companion = stem + suffix;
        if (!platform::folderExists(companion)) continue;
        const std::string dest =
            platform::joinPath(resourceFolder(ws), platform::fileNamePart(companion));
        if (platform::folderExists(dest)) return false;
        if (!platform::createFolders(dest))
            throw platform::IoError("フォルダ [ " + platform::cp932ToUtf8(dest) +
                                    " ] を作成できません。");
        std::vector<platform::FolderEntry> files;
        for (auto& e : platform::listFolder(companion))
            if (!e.isFolder) files.push_back(std::move(e));
        std::size_t done = 0;
        for (const auto& f : files) {
            const std::string from = platform::joinPath(companion, f.name);
            if (!platform::copyFile(from, platform::joinPath(dest, f.name), true))
                throw platform::IoError("ファイル [ " + platform::cp932ToUtf8(from) +
                                        " ] をコピーできません。");
            if (progress) progress(++done, files.size());
        }
        return true;
    }
    return false;
}

std::vector<AdditionEntry> readAdditions(const platform::IniFile& project) {
    std::vector<AdditionEntry> out;
    const int count = project.readInteger(kSection, "Count", 0);
    for (int n = 1; n <= count; ++n) {
        const auto i = static_cast<std::size_t>(n);
        out.push_back({project.readString(kSection, entryKey(i, "File")),
                       project.readString(kSection, entryKey(i, "Key"))});
    }
    return out;
}

void rewriteAdditions(platform::IniFile& project, const std::vector<AdditionEntry>& entries) {
    project.eraseSection(kSection);
    std::size_t n = 0;
    for (const auto& e : entries) {
        if (e.file.empty()) continue;
        ++n;
        project.writeInteger(kSection, "Count", static_cast<long long>(n));
        project.writeString(kSection, entryKey(n, "File"), e.file);
        project.writeString(kSection, entryKey(n, "Key"), e.key);
    }
}

std::string sizeText(std::uint64_t bytes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%6llu3b", static_cast<unsigned long long>(bytes));
    return buf;
}

std::string pathColumnText(std::string_view fullPath) {
    const std::string stored = backslashSeparators(fullPath);
    const std::size_t at = upperCaseSjis(stored).find("\\_RESOURCE\\");
    return at == std::string::npos ? std::string(fullPath) : stored.substr(at + 1);
}

std::vector<ResourceRow> allResourcesView(const Workspace& ws) {
    std::vector<ResourceRow> rows;
    if (!ws.hasProject()) return rows;
    ws.tree.forEach([&](project::TreeNode& n) {
        const int icon = n.data.ImageIndex;
        if (project::isWebLinkIcon(icon)) return;
        const std::string full = resourceFullPath(ws, n.data.HTML);
        rows.push_back({RowKind::NodePage, n.data.Title, pathColumnText(full),
                        sizeColumn(full, n.data.isHeading() ? "*Header*" : "NotFound")});
    });
    auto added = addedResourcesView(ws);
    rows.insert(rows.end(), added.begin(), added.end());
    return rows;
}

std::vector<ResourceRow> addedResourcesView(const Workspace& ws) {
    std::vector<ResourceRow> rows;
    if (!ws.hasProject()) return rows;
    for (const auto& e : readAdditions(*ws.project)) {
        const std::string full =
            platform::joinPath(ws.projectFolder(), platform::slashSeparators(e.file));
        rows.push_back(
            {RowKind::AddedResource, e.key, pathColumnText(full), sizeColumn(full, "NotFound")});
    }
    return rows;
}

bool addResourcesFromChooser(Workspace& ws) {
    if (!ws.hasProject()) return false;
    const auto chosen = ws.prompts.chooseOpenFiles("リソースの追加", "全てのファイル (*.*)|*.*",
                                                   resourceFolder(ws) + "/");
    bool appended = false;
    for (const auto& picked : chosen) {
        const std::string path = upperCaseSjis(picked);
        if (!inResourceFolder(ws, path)) {
            ws.prompts.warn(kOutsideResourceFolder, ui::Buttons::Ok);
            continue;
        }
        appended |= appendEntry(ws, std::string(kResourcePrefix) + resourceRelativeName(ws, path));
    }
    return appended;
}

bool dropOnResourceList(Workspace& ws, const std::vector<std::string>& files) {
    if (!ws.hasProject() || files.empty()) return false;
    bool appended = false;
    for (const auto& dropped : files) {
        if (!platform::fileExists(dropped)) continue;  // folders and vanished files
        const std::string name = platform::fileNamePart(dropped);
        const std::string target = platform::joinPath(resourceFolder(ws), name);
        if (platform::pathExists(target)) {
            ws.prompts.warn(kNameTaken, ui::Buttons::Ok);
            continue;
        }
        if (!platform::folderExists(resourceFolder(ws)))
            platform::createFolders(resourceFolder(ws));
        if (!platform::copyFile(dropped, target, true))
            throw platform::IoError("ファイル [ " + platform::cp932ToUtf8(dropped) +
                                    " ] をコピーできません。");
        appended |=
            appendEntry(ws, std::string(kResourcePrefix) + resourceRelativeName(ws, target));
    }
    return appended;
}

std::vector<ResourceRow> unregisterSelected(Workspace& ws, const std::vector<ResourceRow>& rows) {
    if (!ws.hasProject()) return {};
    auto entries = readAdditions(*ws.project);
    for (const auto& row : rows) {
        if (row.kind != RowKind::AddedResource || !row.selected) continue;
        for (auto& e : entries) {
            if (e.file.empty()) continue;
            const bool gone = !platform::fileExists(
                platform::joinPath(ws.projectFolder(), platform::slashSeparators(e.file)));
            if (e.file == row.path || gone) e = AdditionEntry{};
        }
    }
    rewriteAdditions(*ws.project, entries);
    ws.project->save();
    return addedResourcesView(ws);
}

bool keywordEnabled(const std::vector<ResourceRow>& rows) {
    const ResourceRow* only = nullptr;
    for (const auto& r : rows) {
        if (!r.selected) continue;
        if (only) return false;
        only = &r;
    }
    if (!only || only->kind != RowKind::AddedResource) return false;
    const std::string ext = lowerExtension(only->path);
    return ext == ".html" || ext == ".htm";
}

bool unregisterEnabled(const std::vector<ResourceRow>& rows) {
    for (const auto& r : rows)
        if (r.selected) return r.kind != RowKind::NodePage;
    return true;
}

}  // namespace tarnbook::authoring
