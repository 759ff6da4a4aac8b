#include "folderimport/FolderImport.h"

#include <algorithm>
#include <memory>

#include "authoring/ResourceRegistry.h"
#include "authoring/SjisConvert.h"
#include "contents/GeneratedPages.h"
#include "contents/TreeOps.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace tarnbook::folderimport {
namespace {

using project::TData;
using project::TreeNode;

enum class FileKind { Page, Text, Xml, Other };

std::string lowerExtension(std::string_view path) {
    return platform::lowerCaseSjis(platform::extensionPart(path));
}

FileKind kindOf(std::string_view path) {
    const std::string ext = lowerExtension(path);
    if (ext == ".htm" || ext == ".html") return FileKind::Page;
    if (ext == ".txt" || ext == ".eml") return FileKind::Text;
    if (ext == ".xml" || ext == ".xhtml") return FileKind::Xml;
    return FileKind::Other;
}

std::string utf8(std::string_view cp932) {
    return platform::cp932ToUtf8(cp932);
}

// Section keys whose value is not 0.
std::vector<std::string> switchedOnKeys(const platform::IniFile& ini, std::string_view section) {
    std::vector<std::string> out;
    for (const std::string& key : ini.keyNames(section))
        if (ini.readInteger(section, key, 0) != 0) out.push_back(key);
    return out;
}

std::string resourcePath(const project::Workspace& ws, std::string_view relFolder,
                         std::string_view name) {
    std::string folder = ws.resourceFolder();
    if (!relFolder.empty()) folder = platform::joinPath(folder, relFolder);
    return platform::joinPath(folder, name);
}

// The first "name(k).ext" beside `path` that is free.
std::string freeNameBeside(const std::string& path) {
    const std::string folder = platform::folderPart(path);
    const std::string name = platform::fileNamePart(path);
    const std::string base = platform::baseName(name);
    const std::string ext = platform::extensionPart(name);
    for (unsigned k = 1;; ++k) {
        std::string candidate =
            platform::joinPath(folder, base + "(" + std::to_string(k) + ")" + ext);
        if (!platform::pathExists(candidate)) return candidate;
    }
}

bool sameBytes(const std::string& existing, std::string_view source, const std::string* bytes) {
    if (bytes) return platform::tryReadFile(existing) == *bytes;
    if (platform::fileSize(existing) != platform::fileSize(source)) return false;
    return platform::tryReadFile(existing) == platform::tryReadFile(source);
}

TreeNode* appendNode(project::Workspace& ws, TreeNode* parent, TData record) {
    auto node = std::make_unique<TreeNode>();
    record.Level = parent ? parent->depth() + 1 : 0;
    node->data = std::move(record);
    node->syncViewFromData();
    TreeNode* placed = ws.tree.appendChild(parent, std::move(node));
    ws.markChanged();
    return placed;
}

TData headingRecord(std::string title, int icon) {
    TData d;
    d.ItemType = TData::kHeading;
    d.Title = std::move(title);
    d.ImageIndex = icon;
    return d;
}

}  // namespace

ImportChoices ImportChoices::read(const project::Workspace& ws) {
    ImportChoices c;
    if (ws.project) {
        c.conversions.toSjis = ws.project->readBool("XHP", "ConvSJIS", false);
        c.conversions.killScripts = ws.project->readBool("XHP", "ConvKillJS", false);
        if (ws.project->readBool("XHP", "URLFilter", false))
            for (const std::string& key : ws.settings.keyNames("URLFilter"))
                if (!key.empty()) c.conversions.urlFilters.push_back(key);
        c.headingIcon = ws.project->readInteger("XHP", "NodeIcon", 1) != 0 ? 4 : 0;
    }
    c.confirmOverwrite = ws.settings.readBool("SYSTEM", "ConfirmOverWrite", false);
    c.skippedFolders = switchedOnKeys(ws.settings, "FilterFolder");
    return c;
}

FileImporter::FileImporter(project::Workspace& ws, TitleSource titles)
    : ws_(ws), titles_(titles), choices_(ImportChoices::read(ws)) {}

// Writes the file at `target` (or beside it) and returns the path the node should show.
// `bytes` holds converted contents; without it `source` is copied as it is.
std::string FileImporter::placeFile(std::string_view source, const std::string& target,
                                    const std::string* bytes, bool plainCopy) {
    std::string destination = target;
    if (platform::pathExists(target)) {
        if (sameBytes(target, source, bytes)) {
            ++report_.unchanged;
            return target;
        }
        if (choices_.confirmOverwrite) {
            const bool replace =
                ws_.prompts.confirm("同名ファイル [ " + utf8(target) + " ] を上書きします",
                                    ui::Buttons::YesNo) == ui::Answer::Yes;
            if (!replace) {
                ++report_.kept;
                return target;
            }
        } else {
            // Never replaced unasked: the newcomer goes beside it under a free name.
            destination = freeNameBeside(target);
            ++report_.renamed;
            report_.warnings.push_back("[ " + utf8(target) + " ] は別の内容で既にあるため [ " +
                                       utf8(platform::fileNamePart(destination)) +
                                       " ] として取り込みました。");
        }
    }
    if (bytes)
        platform::writeFileAtomic(destination, *bytes, platform::Durability::Unsynced);
    else if (!platform::copyFile(source, destination, false, platform::Durability::Unsynced))
        throw platform::IoError("ファイル [ " + utf8(source) + " ] をコピーできません。");
    ++report_.written;
    if (plainCopy) ws_.currentPage.clear();
    return destination;
}

TreeNode* FileImporter::importFile(std::string_view source, TreeNode* parent,
                                   std::string_view relFolder) {
    const std::string name = platform::fileNamePart(source);
    const FileKind kind = kindOf(source);
    std::string target =
        kind == FileKind::Page || kind == FileKind::Other ? resourcePath(ws_, relFolder, name)
        : kind == FileKind::Text ? resourcePath(ws_, {}, platform::changeExtension(name, ".html"))
                                 : resourcePath(ws_, {}, name);
    std::string title;
    std::optional<std::string> bytes;
    try {
        if (kind == FileKind::Page) {
            bytes = convertPage(source, choices_.conversions);
            title = contents::extractHtmlTitle(source);
            if (relFolder.empty() && platform::lowerCaseSjis(platform::baseName(name)) == "index")
                ws_.project->writeString("XHP", "Default", "_RESOURCE\\" + name);
        } else if (kind == FileKind::Text) {
            const std::string temp = contents::convertTxtToHtml(source);
            const std::optional<std::string> page = platform::tryReadFile(temp);
            platform::deleteFile(temp);
            if (!page) throw platform::IoError("ファイル [ " + utf8(source) + " ] を読めません。");
            bytes = authoring::convertTextToSjis(*page);
        }
        const bool plainCopy = !bytes;
        target = placeFile(source, target, bytes ? &*bytes : nullptr, plainCopy);
        // A folder import brings companion folders along as folders of their own.
        if (plainCopy && kind == FileKind::Page && relFolder.empty())
            authoring::copyCompanionFolder(ws_, source);
    } catch (const platform::IoError& e) {
        ++report_.failed;
        report_.warnings.push_back(e.what());
    }
    if (kind == FileKind::Other) return nullptr;
    TData item;
    item.ItemType = TData::kContent;
    item.ImageIndex = 10;
    const std::string stem = platform::baseName(name);
    item.Title = titles_ == TitleSource::TitleTag && !title.empty() ? title : stem;
    item.HTML = authoring::resourceRelativeName(ws_, target);
    ++report_.items;
    return appendNode(ws_, parent, std::move(item));
}

namespace {

struct ScannedFolder {
    std::string path;      // core path of the source folder
    std::string relative;  // '\' separated below the imported folder; empty for it
    TreeNode* heading = nullptr;
    std::vector<std::string> files;
};

bool insideTree(const std::string& root, std::string_view path) {
    const std::string real = platform::resolvedPath(path);
    return !real.empty() &&
           (real == root || (real.size() > root.size() && real.compare(0, root.size(), root) == 0 &&
                             real[root.size()] == '/'));
}

// Lists the folders breadth first. False (with the reason in the report) when the tree
// holds a project's resource folder, or when cancelled.
bool scanFolders(std::string_view source, const ImportChoices& choices,
                 const ImportProgress& progress, std::vector<ScannedFolder>& folders,
                 ImportReport& report) {
    const std::string root = platform::resolvedPath(source);
    folders.push_back({std::string(source), {}, nullptr, {}});
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const std::string path = folders[i].path;
        const std::string relative = folders[i].relative;
        for (const platform::FolderEntry& e : platform::listFolder(path)) {
            const std::string full = platform::joinPath(path, e.name);
            if (!platform::isValidFileName(e.name) || (e.isLink && !insideTree(root, full))) {
                ++report.skipped;
                report.warnings.push_back("[ " + utf8(full) + " ] は取り込みません。");
                continue;
            }
            if (!e.isFolder) {
                folders[i].files.push_back(full);
                continue;
            }
            if (e.name == "_RESOURCE") {
                report.warnings.push_back("[ " + utf8(full) +
                                          " ] はプロジェクトのフォルダです。取り込めません。");
                return false;
            }
            if (std::find(choices.skippedFolders.begin(), choices.skippedFolders.end(), e.name) !=
                choices.skippedFolders.end()) {
                ++report.skipped;
                continue;
            }
            // A link back into the tree would list its folders again without end.
            if (e.isLink) {
                ++report.skipped;
                continue;
            }
            folders.push_back(
                {full, relative.empty() ? e.name : relative + "\\" + e.name, nullptr, {}});
        }
        if (progress && !progress(static_cast<int>((i + 1) * 50 / folders.size()))) {
            report.cancelled = true;
            return false;
        }
    }
    return true;
}

}  // namespace

ImportReport importFolderTree(project::Workspace& ws, std::string_view source, TitleSource titles,
                              const ImportProgress& progress) {
    FileImporter importer(ws, titles);
    ImportReport& report = importer.report();
    if (!ws.hasProject() || source.empty() || !platform::folderExists(source)) {
        report.warnings.push_back("フォルダ [ " + utf8(source) + " ] がありません。");
        return report;
    }
    std::vector<ScannedFolder> folders;
    if (!scanFolders(source, importer.choices(), progress, folders, report)) return report;

    const int icon = importer.choices().headingIcon;
    std::string top(source);
    while (top.size() > 1 && platform::isSeparatorAt(top, top.size() - 1)) top.pop_back();
    folders[0].heading =
        contents::insertNodeAfter(ws, headingRecord(platform::fileNamePart(top), icon));
    ws.markChanged();
    ++report.folders;
    std::size_t fileCount = 0;
    for (std::size_t i = 1; i < folders.size(); ++i) {
        ScannedFolder& f = folders[i];
        const std::size_t cut = f.relative.rfind('\\');
        const std::string parentRel =
            cut == std::string::npos ? std::string() : f.relative.substr(0, cut);
        const auto parent =
            std::find_if(folders.begin(), folders.begin() + static_cast<long>(i),
                         [&](const ScannedFolder& p) { return p.relative == parentRel; });
        f.heading =
            appendNode(ws, parent->heading, headingRecord(platform::fileNamePart(f.path), icon));
        ++report.folders;
        const std::string target = platform::joinPath(ws.resourceFolder(), f.relative);
        if (!platform::folderExists(target) && !platform::createFolders(target))
            report.warnings.push_back("フォルダ [ " + utf8(target) + " ] を作成できません。");
    }
    for (const ScannedFolder& f : folders) fileCount += f.files.size();

    std::size_t done = 0;
    for (const ScannedFolder& f : folders) {
        for (const std::string& file : f.files) {
            importer.importFile(file, f.heading, f.relative);
            ++done;
            if (progress && !progress(50 + static_cast<int>(done * 50 / fileCount))) {
                report.cancelled = true;
                return report;
            }
        }
    }
    return report;
}

const std::vector<std::string>& droppableExtensions() {
    static const std::vector<std::string> kExtensions = {".txt",  ".eml", ".ico", ".htm",
                                                         ".html", ".mht", ".xml", ".xhtml"};
    return kExtensions;
}

bool isDropImportable(const platform::IniFile& settings, std::string_view file) {
    const std::string ext = lowerExtension(file);
    const auto& known = droppableExtensions();
    return std::find(known.begin(), known.end(), ext) != known.end() &&
           settings.readInteger("FilterImport", ext, 0) == 1;
}

}  // namespace tarnbook::folderimport
