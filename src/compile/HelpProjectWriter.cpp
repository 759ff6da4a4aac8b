#include "compile/HelpProjectWriter.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "project/ProjectFileKeys.h"
#include "project/ResourcePaths.h"

namespace tarnbook::compile {
namespace {

using platform::IniFile;

constexpr const char* kWebWindow = "\"Remote URL\",,,,,,,,,,,0x383c,[125,144,721,602],,,,,,,0";

std::string xhp(const IniFile& p, std::string_view key, std::string_view def = {}) {
    return p.readString("XHP", key, def);
}
bool flag(const IniFile& p, std::string_view key, bool def = false) {
    return p.readBool("XHP", key, def);
}
int number(const IniFile& p, std::string_view key, int def) {
    return p.readInteger("XHP", key, def);
}

void report(const BuildProgress& progress, int percent) {
    if (progress) progress(percent);
}

// The text after the last '\', '/' or ':' (':' is never a trail byte).
std::string nameAfterSeparators(std::string_view path) {
    std::string name = platform::fileNamePart(path);
    const std::size_t colon = name.rfind(':');
    if (colon != std::string::npos) name.erase(0, colon + 1);
    return name;
}

unsigned long navigationStyle(const IniFile& p) {
    unsigned long style = 0x100 + 0x200;
    if (!flag(p, "Visible", true)) style += 0x20;
    if (flag(p, "HideTxt")) style += 0x40;
    if (flag(p, "HideTB")) style += 0x8000;
    if (flag(p, "KeepPos")) style += 0x40000;
    if (flag(p, "TabSearch")) style += 0x20000 + 0x400;
    if (flag(p, "TabFavorite")) style += 0x1000;
    return style;
}

unsigned long buttonSet(const IniFile& p) {
    static constexpr struct {
        const char* key;
        unsigned long value;
    } kButtons[] = {
        {"BTView", 0x2},     {"BTBack", 0x4},      {"BTNext", 0x8},      {"BTStop", 0x10},
        {"BTRefresh", 0x20}, {"BTHomeURL", 0x40},  {"BTSync", 0x800},    {"BTOption", 0x1000},
        {"BTPrint", 0x2000}, {"BTJump1", 0x40000}, {"BTJump2", 0x80000}, {"BTFont", 0x100000},
        {"BTUp", 0x200000},  {"BTDown", 0x400000},
    };
    unsigned long set = 0;
    for (const auto& b : kButtons)
        if (flag(p, b.key)) set += b.value;
    return set;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string ifFlag(const IniFile& p, std::string_view flagKey, std::string_view key) {
    return flag(p, flagKey) ? xhp(p, key) : std::string();
}

// The user's alias file, the map, popup and merge sections, and the file list.
void appendPlainSections(const project::Workspace& ws, std::vector<std::string>& out,
                         const BuildProgress& progress) {
    const IniFile& p = *ws.project;
    const std::string pdir = projectFolderOf(ws);
    const bool useMap = flag(p, "UseMap");
    // Only the copies in the project folder are read, never a path the project file names.
    const std::string alias = project::linkedFilePath(p, "UserAlias");
    if (useMap && flag(p, "UseUserAlias") && !alias.empty() &&
        platform::fileExists(inProjectFolder(pdir, alias)))
        for (auto& line : platform::readLines(inProjectFolder(pdir, alias)))
            out.push_back(std::move(line));
    if (useMap) {
        out.push_back("[MAP]");
        out.push_back("#include " + project::linkedFileName(p, "MAP"));
        out.emplace_back();
    }
    const std::string popups = project::linkedFilePath(p, "PopupTxt");
    if (flag(p, "UsePopup")) {
        out.push_back("[TEXT POPUPS]");
        out.push_back(project::linkedFileName(p, "PopupTxt"));
        out.emplace_back();
    }
    report(progress, 50);
    const int merges = number(p, "Merge", 0);
    if (merges != 0) {
        out.push_back("[MERGE FILES]");
        for (int n = 1; n <= merges; ++n)
            out.push_back(
                inProjectFolder(pdir, platform::fileNamePart(xhp(p, "Merge" + std::to_string(n)))));
    }
    report(progress, 60);

    out.push_back("[FILES]");
    const std::size_t count = nodesToWrite(ws);
    std::unordered_set<std::string> seen;
    seen.reserve(count);
    out.reserve(out.size() + count + 16);
    std::size_t i = 0;
    for (auto* node = ws.tree.first(); node && i < count;
         node = project::ContentTree::next(node), ++i) {
        const project::TData& d = node->data;
        if (!d.HTML.empty() && !seen.insert(platform::upperCaseSjis(d.HTML)).second) continue;
        if (!d.HTML.empty() && !d.isWebLink()) out.push_back("_RESOURCE\\" + d.HTML);
    }
    const int added = p.readInteger("Addition", "Count", 0);
    for (int n = 1; n <= added; ++n)
        out.push_back(p.readString("Addition", "File" + std::to_string(n)));
    if (flag(p, "UsePopup") && !popups.empty()) out.push_back(popups);
}

}  // namespace

std::string helpProjectFilePath(const project::Workspace& ws) {
    return inProjectFolder(projectFolderOf(ws), ws.projectName() + ".hhp");
}

void refreshMergeCopies(project::Workspace& ws) {
    if (!ws.project) return;
    const IniFile& p = *ws.project;
    const std::string pdir = projectFolderOf(ws);
    const int merges = number(p, "Merge", 0);
    for (int n = 1; n <= merges; ++n) {
        const std::string src = xhp(p, "Merge" + std::to_string(n));
        if (src.empty() || !platform::fileExists(src)) continue;
        const std::string copy = inProjectFolder(pdir, platform::fileNamePart(src));
        const std::int64_t copyAge = platform::fileAge(copy);
        if (!platform::fileExists(copy) || copyAge == 0 || copyAge >= platform::fileAge(src))
            continue;
        ws.prompts.warn("マージ元ファイル\n[ " + platform::cp932ToUtf8(src) +
                        " ]\nを新しいファイルに入れ替えます");
        // Copy failures are not reported: the author has been told, the build goes on.
        platform::deleteFile(copy);
        platform::copyFile(src, copy, false);
        platform::copyFile(platform::changeExtension(src, ".hhc"),
                           platform::changeExtension(copy, ".hhc"), false);
    }
}

std::string startPage(const project::Workspace& ws) {
    const IniFile& p = *ws.project;
    std::string d = xhp(p, "Default");
    if (!d.empty() || ws.tree.empty()) return d;
    for (auto* node = ws.tree.first(); node; node = project::ContentTree::next(node))
        if (!node->data.HTML.empty()) {
            d = node->data.HTML;
            break;
        }
    for (auto* node = ws.tree.first(); node; node = project::ContentTree::next(node)) {
        const std::string name = nameAfterSeparators(node->data.HTML);
        if (name == "index.html" || name == "index.htm") {
            d = node->data.HTML;
            break;
        }
    }
    const std::string pdir = projectFolderOf(ws);
    for (char sep : {'\\', '/'}) {
        const std::string prefix = pdir + sep + "_RESOURCE" + sep;
        if (platform::findSjis(d, prefix) != std::string::npos) {
            d.erase(0, prefix.size());
            break;
        }
    }
    return "_RESOURCE\\" + d;
}

std::string windowDefinition(const project::Workspace& ws) {
    const IniFile& p = *ws.project;
    const std::string pdir = projectFolderOf(ws);
    const std::string name = ws.projectName();
    const bool keywords = flag(p, "TabKeyword", true);
    const int x = number(p, "PosX", 100), y = number(p, "PosY", 100);
    const int w = number(p, "Width", 600), h = number(p, "Height", 400);

    unsigned long windowStyle = 0;
    if (flag(p, "Maximize")) windowStyle += 0x1000000;
    if (flag(p, "Visible", false)) windowStyle += 0x10000000;
    unsigned long extendedStyle = 0;
    if (flag(p, "Topmost")) extendedStyle += 0x8;
    if (flag(p, "Edge")) extendedStyle += 0x200;

    const std::vector<std::string> fields = {
        quoted(xhp(p, "HelpName")),
        quoted(inProjectFolder(pdir, name + ".hhc")),
        quoted(keywords ? inProjectFolder(pdir, name + ".hhk") : std::string()),
        quoted(xhp(p, "Default")),
        ifFlag(p, "BTHomeURL", "URL"),
        ifFlag(p, "BTJump1", "JUMP1"),
        ifFlag(p, "BTJump1", "Jump1lbl"),
        ifFlag(p, "BTJump2", "JUMP2"),
        ifFlag(p, "BTJump2", "Jump2lbl"),
        hexText(navigationStyle(p)),
        std::to_string(number(p, "FrameWidth", 100)),
        hexText(buttonSet(p)),
        "[" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(x + w) + "," +
            std::to_string(y + h) + "]",
        hexText(windowStyle),
        hexText(extendedStyle),
        "",
        flag(p, "HideFirst") ? "1" : "",
        "",
        "",
        "0",
    };
    std::string value;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) value += ',';
        value += fields[i];
    }
    return value;
}

void writeHelpProjectFile(project::Workspace& ws, const BuildProgress& progress) {
    IniFile& p = *ws.project;
    const std::string pdir = projectFolderOf(ws);
    const std::string name = ws.projectName();
    const std::string path = helpProjectFilePath(ws);
    if (xhp(p, "HelpName").empty()) p.writeString("XHP", "HelpName", name);
    project::copyLinkedFilesIn(p, pdir, project::LinkedCopy::FromOutside);

    IniFile doc;
    auto option = [&](std::string_view key, std::string_view value) {
        doc.writeString("OPTIONS", key, value);
    };
    option("Auto Index", "Yes");
    option(flag(p, "BToc") ? "Binary TOC" : "Binary Index", "Yes");
    option("Compatibility", "1.1 or later");
    option("Compiled file", project::compiledFileName(p));
    option("Contents file", name + ".hhc");
    if (flag(p, "TabKeyword", true)) option("Index file", name + ".hhk");
    option("Default Font", xhp(p, "FontName", "MS UI Gotic") + "," +
                               std::to_string(number(p, "FontSize", 10)) + ",128");
    option("Default Window", "XHP");
    option("Default topic", startPage(ws));
    option("Display compile progress", "No");
    option("Error log file", inProjectFolder(pdir, "Compile.Log"));
    option("Flat", "No");
    option("Full-text search", flag(p, "FullTextSearch") ? "Yes" : "No");
    option("Language", "0x" + xhp(p, "LangStr", "0411 Japanese"));
    option("Title", xhp(p, "HelpName"));

    doc.writeString("WINDOWS", "XHP", windowDefinition(ws));
    doc.writeString("WINDOWS", "$global_Web", kWebWindow);
    report(progress, 30);

    // The alias table: one key per context ID (letter case ignored), at its first place,
    // holding the last node's page. Kept beside the document so large projects stay linear.
    std::vector<std::pair<std::string, std::string>> aliases;
    if (flag(p, "UseMap") && !flag(p, "UseUserAlias")) {
        std::unordered_map<std::string, std::size_t> aliasIndex;
        const std::size_t count = nodesToWrite(ws);
        aliasIndex.reserve(count);
        std::size_t i = 0;
        for (auto* node = ws.tree.first(); node && i < count;
             node = project::ContentTree::next(node), ++i) {
            const project::TData& d = node->data;
            if (d.HTML.empty() || d.ContextID.empty()) continue;
            std::string value = "_RESOURCE\\" + project::resourceRelativeName(pdir, d.HTML);
            auto [it, added] =
                aliasIndex.emplace(platform::upperCaseSjis(d.ContextID), aliases.size());
            if (added)
                aliases.emplace_back(d.ContextID, std::move(value));
            else
                aliases[it->second].second = std::move(value);
        }
    }

    // Both stages go to disk in one atomic write: a failed build never leaves half a file.
    std::string bytes = doc.toBytes();
    if (!aliases.empty()) {
        std::vector<std::string> lines{"[ALIAS]"};
        lines.reserve(aliases.size() + 2);
        for (const auto& [id, page] : aliases) lines.push_back(id + "=" + page);
        lines.emplace_back();
        bytes += platform::joinLinesCrLf(lines);
    }
    report(progress, 40);
    std::vector<std::string> tail;
    appendPlainSections(ws, tail, progress);
    bytes += platform::joinLinesCrLf(tail);
    if (platform::fileExists(path)) platform::deleteFile(path);
    platform::writeFileAtomic(path, bytes, platform::Durability::Unsynced);
}

}  // namespace tarnbook::compile
