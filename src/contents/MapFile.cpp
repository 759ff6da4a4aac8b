#include "contents/MapFile.h"

#include <set>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace tarnbook::contents {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view nextWord(std::string_view& rest) {
    std::size_t b = 0;
    while (b < rest.size() && isBlank(rest[b])) ++b;
    std::size_t e = b;
    while (e < rest.size() && !isBlank(rest[e])) ++e;
    std::string_view word = rest.substr(b, e - b);
    rest.remove_prefix(e);
    return word;
}

}  // namespace

std::map<std::string, long long> readMapNumbers(std::string_view bytes) {
    std::map<std::string, long long> numbers;
    for (const std::string& line : platform::splitLines(bytes)) {
        std::string_view rest = line;
        if (nextWord(rest) != "#define") continue;
        const std::string_view name = nextWord(rest);
        const std::string_view value = nextWord(rest);
        long long n = 0;
        if (name.empty() || !nextWord(rest).empty() || !platform::IniFile::parseInteger(value, &n))
            continue;
        numbers.emplace(std::string(name), n);
    }
    return numbers;
}

MapFileText mapFileText(const project::ContentTree& tree,
                        const std::map<std::string, long long>& published) {
    struct Entry {
        const project::TreeNode* node;
        long long positional;
    };
    std::vector<Entry> entries;
    std::set<std::string> seen;
    MapFileText out;
    long long index = 0;
    for (const project::TreeNode* n : tree.preorder()) {
        ++index;
        const std::string& id = n->data.ContextID;
        if (id.empty()) continue;
        if (!seen.insert(id).second) {
            out.duplicateIds.push_back(id);
            continue;
        }
        entries.push_back({n, 2 * index});
    }
    // Published numbers are claimed first, so a new ID never takes one that a kept ID holds
    // further down the tree.
    std::set<long long> taken;
    for (const Entry& e : entries)
        if (auto it = published.find(e.node->data.ContextID); it != published.end())
            taken.insert(it->second);
    for (const Entry& e : entries) {
        const std::string& id = e.node->data.ContextID;
        long long number = 0;
        if (auto it = published.find(id); it != published.end()) {
            number = it->second;
        } else {
            number = e.positional;
            while (taken.count(number)) number += 2;
            taken.insert(number);
        }
        out.lines.push_back("// " + e.node->data.Title);
        out.lines.push_back("#define " + id + " " + std::to_string(number));
    }
    return out;
}

std::string mapFilePath(const project::Workspace& ws) {
    return platform::joinPath(ws.projectFolder(), ws.projectName() + ".MAP");
}

std::vector<std::string> writeMapFile(project::Workspace& ws) {
    const std::string path = mapFilePath(ws);
    std::map<std::string, long long> published;
    if (auto old = platform::tryReadFile(path)) published = readMapNumbers(*old);
    MapFileText text = mapFileText(ws.tree, published);
    platform::writeLinesCrLf(path, text.lines);
    if (!text.duplicateIds.empty()) {
        std::string ids;
        for (const std::string& id : text.duplicateIds) ids += " " + platform::cp932ToUtf8(id);
        ws.status.setStatusText(
            0, "複数のノードで使われているコンテキストIDは最初の1つだけを出力しました:" + ids);
    }
    return text.duplicateIds;
}

void putMap(project::Workspace& ws) {
    if (!ws.hasProject()) return;
    const std::string path = mapFilePath(ws);
    if (platform::fileExists(path)) {
        const std::string question =
            "マップファイル [" + platform::cp932ToUtf8(path) + "] を上書きしてよろしい?";
        if (ws.prompts.warn(question, ui::Buttons::YesNo) != ui::Answer::Yes) return;
    }
    writeMapFile(ws);
}

}  // namespace tarnbook::contents
