#include "winhelp/HpjConversion.h"

#include <set>
#include <unordered_map>

#include "authoring/ResourceRegistry.h"
#include "platform/CodePages.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "winhelp/Bitmaps.h"
#include "winhelp/ContentsPlan.h"
#include "winhelp/MapMerge.h"
#include "winhelp/TextLines.h"
#include "winhelp/TopicPage.h"

namespace tarnbook::winhelp {

namespace platform = tarnbook::platform;

namespace {

// Popups whose topic is longer than this, or holds pictures or links, become links.
constexpr std::size_t kMaxPopupText = 1000;
// The record keeps at most this many bytes of a keyword text.
constexpr std::size_t kKeywordBytes = 509;
constexpr std::size_t kContextIdBytes = 50;

void report(const ConversionProgress& progress, int percent) {
    if (progress) progress(percent);
}

std::string key(std::string_view id) {
    return platform::upperCaseSjis(trimmed(id));
}

// A jump's hidden text without its window (">win") part.
std::string withoutWindow(std::string_view target) {
    const auto gt = target.find('>');
    return std::string(trimmed(target.substr(0, gt)));
}

std::u16string decodeIn(const std::string& bytes, int codePage) {
    auto text = platform::decodeCodePage(bytes, codePage);
    return text ? *text : platform::decodeCp932(bytes);
}

}  // namespace

int codePageOfProject(const HpjProject& hpj) {
    if (hpj.charset >= 0) {
        if (auto cp = platform::codePageOfCharset(hpj.charset)) return *cp;
    }
    if (hpj.lcid == 0) return 932;
    return platform::codePageOfLanguage(hpj.lcid);
}

std::string safePageBase(std::string_view contextId) {
    std::string out;
    for (char c : trimmed(contextId)) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        out += keep ? c : '_';
        if (out.size() >= 60) break;
    }
    while (!out.empty() && out.back() == '.') out.back() = '_';
    if (!out.empty() && out.front() == '.') out.front() = '_';
    static const std::set<std::string> kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    const std::string stem = platform::upperCaseSjis(out.substr(0, out.find('.')));
    if (kDevices.count(stem) != 0) out = "_" + out;
    return out;
}

CheckedProject checkWinHelpProject(std::string_view hpjPath) {
    CheckedProject c;
    c.hpj = readHpj(hpjPath);
    c.warnings = c.hpj.warnings;
    c.codePage = codePageOfProject(c.hpj);
    if (c.hpj.topicFiles.empty()) {
        c.error = "the project names no topic file (.rtf) that exists";
        return c;
    }
    std::string cntName = c.hpj.contentsFile;
    if (cntName.empty()) {
        // Help Workshop finds a contents file named like the help without being told.
        const std::string guess = platform::baseName(hpjPath) + ".cnt";
        if (findProjectFile(guess, {c.hpj.folder})) cntName = guess;
    }
    if (!cntName.empty()) {
        const auto path = findProjectFile(cntName, {c.hpj.folder});
        if (!path) {
            c.warnings.push_back("contents file " + platform::cp932ToUtf8(cntName) + " not found");
        } else {
            c.cnt = readCnt(*path);
            for (const auto& w : c.cnt->warnings) c.warnings.push_back(w);
        }
    }
    return c;
}

ConvertedTopics convertTopicFiles(const CheckedProject& checked,
                                  const ConversionProgress& progress) {
    ConvertedTopics out;
    const auto& files = checked.hpj.topicFiles;
    for (std::size_t i = 0; i < files.size(); ++i) {
        report(progress, static_cast<int>(i * 80 / files.size()));
        const std::string bytes = platform::readFile(files[i]);
        RtfReadResult r = readRtfTopics(bytes, checked.codePage,
                                        platform::cp932ToUtf8(platform::fileNamePart(files[i])));
        for (auto& w : r.warnings) out.warnings.push_back(std::move(w));
        for (auto& t : r.topics) {
            t.sourceFile = files[i];
            out.topics.push_back(std::move(t));
        }
    }
    report(progress, 80);

    // Pictures: every file a topic shows, looked up where the project keeps its bitmaps.
    for (const Topic& t : out.topics) {
        std::vector<std::string> folders = checked.hpj.bitmapFolders;
        folders.insert(folders.end(), checked.hpj.rootFolders.begin(),
                       checked.hpj.rootFolders.end());
        folders.push_back(checked.hpj.folder);
        folders.push_back(platform::folderPart(t.sourceFile));
        for (const Block& b : t.body)
            for (const Run& r : b.runs) {
                if (r.imagePlacement == 0) continue;
                const std::string name = lowerAscii(r.imageFile);
                if (out.pictures.count(name) != 0) continue;
                Picture p;
                auto path = findProjectFile(r.imageFile, folders);
                if (!path)
                    for (const auto& listed : checked.hpj.bitmaps)
                        if (equalsNoCase(platform::fileNamePart(listed),
                                         platform::fileNamePart(r.imageFile)))
                            path = listed;
                if (!path) {
                    p.reason = "not found";
                } else {
                    p.source = *path;
                    p.png = pictureToPng(platform::readFile(*path), &p.reason);
                }
                if (!p.png)
                    out.warnings.push_back("picture " + platform::cp932ToUtf8(r.imageFile) +
                                           " not converted: " + p.reason);
                out.pictures.emplace(name, std::move(p));
            }
    }
    report(progress, 100);
    return out;
}

namespace {

// Context IDs and aliases to topic numbers, compared without regard to letter case.
class TopicIndex {
  public:
    TopicIndex(const std::vector<Topic>& topics, const std::vector<AliasEntry>& aliases,
               std::vector<std::string>& warnings) {
        for (std::size_t i = 0; i < topics.size(); ++i)
            for (const auto& id : topics[i].contextIds) {
                auto [it, added] = byId_.emplace(key(id), static_cast<int>(i));
                if (!added)
                    warnings.push_back("context ID " + platform::cp932ToUtf8(id) +
                                       " is used by two topics; the first one keeps it");
            }
        for (const auto& a : aliases) alias_.emplace(key(a.alias), key(a.target));
    }

    int find(std::string_view id) const {
        std::string k = key(id);
        for (int hops = 0; hops < 8; ++hops) {
            auto it = byId_.find(k);
            if (it != byId_.end()) return it->second;
            auto a = alias_.find(k);
            if (a == alias_.end()) return -1;
            k = a->second;
        }
        return -1;
    }

  private:
    std::unordered_map<std::string, int> byId_;
    std::unordered_map<std::string, std::string> alias_;
};

// Names in _RESOURCE for pages and pictures: unique among themselves, and either new there or
// (after the author's answer) replacing what is there or moved to a free "name(k)" form.
class NamePlan {
  public:
    explicit NamePlan(std::string resourceFolder) : folder_(std::move(resourceFolder)) {}

    std::string reserve(const std::string& base, const std::string& ext) {
        std::string name = base + ext;
        for (int k = 2; taken_.count(platform::upperCaseSjis(name)) != 0; ++k)
            name = base + "_" + std::to_string(k) + ext;
        taken_.insert(platform::upperCaseSjis(name));
        return name;
    }

    bool existsThere(const std::string& name) const {
        return platform::pathExists(platform::joinPath(folder_, name));
    }

    std::string freeName(const std::string& name) {
        const std::string base = platform::baseName(name), ext = platform::extensionPart(name);
        for (int k = 1;; ++k) {
            std::string candidate = base + "(" + std::to_string(k) + ")" + ext;
            if (taken_.count(platform::upperCaseSjis(candidate)) == 0 && !existsThere(candidate)) {
                taken_.insert(platform::upperCaseSjis(candidate));
                return candidate;
            }
        }
    }

  private:
    std::string folder_;
    std::set<std::string> taken_;
};

bool isPlainPopup(const Topic& t) {
    for (const Block& b : t.body)
        for (const Run& r : b.runs)
            if (r.imagePlacement != 0 || r.link != LinkKind::None) return false;
    return plainText(t.body).size() <= kMaxPopupText;
}

std::string keywordText(const std::vector<std::u16string>& keywords, std::size_t from,
                        std::size_t* used) {
    std::string text;
    std::size_t k = from;
    for (; k < keywords.size(); ++k) {
        std::string one = platform::encodeCp932(keywords[k]);
        // A keyword with a comma would otherwise be cut in two by the index writer.
        if (one.find(',') != std::string::npos && one.find('"') == std::string::npos)
            one = "\"" + one + "\"";
        const std::size_t size = text.size() + (text.empty() ? 0 : 1) + one.size();
        if (size > kKeywordBytes && !text.empty()) break;
        if (!text.empty()) text += ",";
        text += one;
    }
    *used = k - from;
    return text;
}

}  // namespace

std::string ConversionResult::summary() const {
    return std::to_string(topics) + " topics, " + std::to_string(keywords) + " keywords, " +
           std::to_string(contextIds) + " context IDs, " + std::to_string(warnings.size()) +
           " warnings";
}

ConversionResult registerConversion(const CheckedProject& checked, const ConvertedTopics& converted,
                                    const ProjectTarget& target,
                                    const ConversionProgress& progress) {
    ConversionResult result;
    result.warnings = checked.warnings;
    result.warnings.insert(result.warnings.end(), converted.warnings.begin(),
                           converted.warnings.end());
    const auto& topics = converted.topics;
    result.topics = topics.size();
    for (const Topic& t : topics) {
        result.keywords += t.keywords.size();
        result.contextIds += t.contextIds.size();
    }
    const std::string resource = platform::joinPath(target.projectFolder, "_RESOURCE");
    TopicIndex index(topics, checked.hpj.aliases, result.warnings);

    // Names first, so that the question about existing files comes before anything is written.
    NamePlan names(resource);
    std::vector<std::string> pageNames;
    for (std::size_t i = 0; i < topics.size(); ++i) {
        std::string base;
        if (!topics[i].contextIds.empty()) base = safePageBase(topics[i].contextIds.front());
        if (base.empty()) base = "topic" + std::to_string(i + 1);
        pageNames.push_back(names.reserve(base, ".htm"));
    }
    std::map<std::string, std::string> pictureNames;  // lower-cased reference -> file name
    for (const auto& [ref, picture] : converted.pictures)
        if (picture.png)
            pictureNames[ref] = names.reserve(
                safePageBase(platform::baseName(platform::fileNamePart(ref))), ".png");

    std::vector<std::string*> existing;
    for (auto& n : pageNames)
        if (names.existsThere(n)) existing.push_back(&n);
    for (auto& [ref, n] : pictureNames) {
        if (!names.existsThere(n)) continue;
        auto same = platform::tryReadFile(platform::joinPath(resource, n));
        if (same && *same == *converted.pictures.at(ref).png) continue;  // the same picture
        existing.push_back(&n);
    }
    if (!existing.empty()) {
        std::string list;
        for (std::size_t k = 0; k < existing.size() && k < 10; ++k)
            list += "\r" + platform::cp932ToUtf8(*existing[k]);
        if (existing.size() > 10) list += "\r...";
        const ui::Answer a = target.prompts.confirm(
            std::to_string(existing.size()) + " 個のファイルが既に _RESOURCE にあります:" + list +
                "\r上書きしてよろしいですか？\r「いいえ」で別の名前で保存します。",
            ui::Buttons::YesNoCancel);
        if (a == ui::Answer::Cancel) {
            result.cancelled = true;
            return result;
        }
        if (a == ui::Answer::No)
            for (std::string* n : existing) *n = names.freeName(*n);
    }
    report(progress, 10);

    // Pages.
    PageLinks links;
    links.link = [&](const std::string& hidden, LinkKind kind) -> std::optional<LinkTarget> {
        const std::string id = withoutWindow(hidden);
        if (id.find('@') != std::string::npos) return std::nullopt;  // another help file
        const int t = index.find(id);
        if (t < 0) return std::nullopt;
        LinkTarget l;
        l.page = pageNames[static_cast<std::size_t>(t)];
        if (kind == LinkKind::Popup && isPlainPopup(topics[static_cast<std::size_t>(t)]))
            l.popupText = plainText(topics[static_cast<std::size_t>(t)].body);
        return l;
    };
    links.picture = [&](const std::string& file) -> std::optional<std::string> {
        auto it = pictureNames.find(lowerAscii(file));
        if (it == pictureNames.end()) return std::nullopt;
        return it->second;
    };
    platform::createFolders(resource);
    for (std::size_t i = 0; i < topics.size(); ++i) {
        std::vector<std::string> pageWarnings;
        const std::string page = renderTopicPage(topics[i], links, &pageWarnings);
        const std::string where =
            platform::cp932ToUtf8(platform::encodeCp932(topicTitle(topics[i], i)));
        for (const auto& w : pageWarnings) result.warnings.push_back(where + ": " + w);
        platform::writeFileAtomic(platform::joinPath(resource, pageNames[i]), page,
                                  platform::Durability::Unsynced);
        result.pages.push_back(pageNames[i]);
        report(progress,
               10 + static_cast<int>((i + 1) * 60 / std::max<std::size_t>(topics.size(), 1)));
    }
    for (const auto& [ref, name] : pictureNames) {
        platform::writeFileAtomic(platform::joinPath(resource, name),
                                  *converted.pictures.at(ref).png, platform::Durability::Unsynced);
        result.pictures.push_back(name);
    }
    report(progress, 75);

    // Contents nodes, planned before the project file changes.
    const int cp = checked.codePage;
    ContentsPlan plan = planContents(
        topics, checked.cnt ? &*checked.cnt : nullptr,
        [&](const std::string& id) { return index.find(id); },
        [&](const std::string& bytes) { return decodeIn(bytes, cp); });
    for (auto& w : plan.warnings) result.warnings.push_back(std::move(w));

    // Map numbers into the project's map file.
    platform::IniFile& project = target.project;
    if (!checked.hpj.map.empty()) {
        std::string mapName = project.readString("XHP", "MAP");
        if (mapName.empty()) {
            mapName = platform::baseName(checked.hpj.path.empty() ? std::string("winhelp")
                                                                  : checked.hpj.path) +
                      ".MAP";
            // The map-file command rewrites <name>.MAP with numbers of its own.
            if (equalsNoCase(mapName, project.readString("XHP", "Name") + ".MAP"))
                mapName = platform::baseName(mapName) + "_WinHelp.MAP";
        }
        // Only a file of the project folder is written to.
        const std::string mapPath =
            platform::joinPath(target.projectFolder, platform::fileNamePart(mapName));
        std::set<std::string> nodeIds;
        for (const PlannedNode& n : plan.nodes)
            if (!n.contextId.empty()) nodeIds.insert(key(n.contextId));
        std::vector<std::string> titles;
        for (const auto& e : checked.hpj.map) {
            const int t = index.find(e.id);
            if (t < 0)
                result.warnings.push_back("map: " + platform::cp932ToUtf8(e.id) +
                                          " names no topic");
            else if (nodeIds.count(key(e.id)) == 0)
                // The build's alias table holds the context IDs of contents nodes only.
                result.warnings.push_back("map: no contents node carries " +
                                          platform::cp932ToUtf8(e.id) +
                                          "; a call by its number finds no page");
            titles.push_back(
                t < 0 ? std::string()
                      : platform::encodeCp932(topicTitle(topics[static_cast<std::size_t>(t)],
                                                         static_cast<std::size_t>(t))));
        }
        const auto old = platform::tryReadFile(mapPath);
        MapMergeResult merged =
            mergeMapDefinitions(old ? *old : std::string(), checked.hpj.map, titles);
        for (auto& w : merged.warnings) result.warnings.push_back(std::move(w));
        platform::writeLinesCrLf(mapPath, merged.lines);
        result.mapFile = mapPath;
        if (project.readString("XHP", "MAP").empty())
            project.writeString("XHP", "MAP", platform::fileNamePart(mapName));
        project.writeBool("XHP", "UseMap", true);
    }

    // Topics no node shows stay in the help as added resources, with their keywords.
    std::vector<authoring::AdditionEntry> additions = authoring::readAdditions(project);
    std::set<std::pair<std::string, std::string>> known;
    for (const auto& a : additions) known.emplace(a.file, a.key);
    auto addResource = [&](const std::string& file, const std::string& keyText) {
        if (known.emplace(file, keyText).second) additions.push_back({file, keyText});
    };
    // Each topic's keywords go to the first node that shows it; what the record cannot hold,
    // and the keywords of topics no node shows, reach the index through added resources.
    std::vector<bool> keywordsGiven(topics.size(), false);
    std::vector<std::string> nodeKeywords(plan.nodes.size());
    for (std::size_t j = 0; j < plan.nodes.size(); ++j) {
        if (plan.nodes[j].topic < 0) continue;
        const auto t = static_cast<std::size_t>(plan.nodes[j].topic);
        if (keywordsGiven[t]) continue;
        keywordsGiven[t] = true;
        std::size_t used = 0;
        nodeKeywords[j] = keywordText(topics[t].keywords, 0, &used);
        for (std::size_t k = used; k < topics[t].keywords.size(); ++k)
            addResource("_RESOURCE\\" + pageNames[t], platform::encodeCp932(topics[t].keywords[k]));
    }
    for (std::size_t i = 0; i < topics.size(); ++i) {
        if (plan.topicInContents[i]) continue;
        const std::string file = "_RESOURCE\\" + pageNames[i];
        if (topics[i].keywords.empty()) addResource(file, "");
        for (const auto& k : topics[i].keywords) addResource(file, platform::encodeCp932(k));
    }
    for (const auto& [ref, name] : pictureNames) addResource("_RESOURCE\\" + name, "");
    authoring::rewriteAdditions(project, additions);
    if (!project.path().empty()) project.save();
    report(progress, 85);

    // The nodes, appended at the end of the top level.
    const bool altIcons = project.readInteger("XHP", "NodeIcon", 0) != 0;
    std::vector<project::TreeNode*> parents;  // the last node placed at each level
    for (std::size_t j = 0; j < plan.nodes.size(); ++j) {
        const PlannedNode& n = plan.nodes[j];
        auto node = std::make_unique<project::TreeNode>();
        project::TData& d = node->data;
        d.ItemType = n.heading ? project::TData::kHeading : project::TData::kContent;
        d.ImageIndex = n.heading ? (altIcons ? 4 : 0) : (altIcons ? 10 : 8);
        d.Title = platform::encodeCp932(n.title);
        d.ContextID = n.contextId;
        if (d.ContextID.size() > kContextIdBytes)
            result.warnings.push_back("context ID " + platform::cp932ToUtf8(n.contextId) +
                                      " is longer than the node keeps (50 bytes)");
        if (n.topic >= 0) {
            d.HTML = pageNames[static_cast<std::size_t>(n.topic)];
            d.KeyWord = platform::decodeCp932(nodeKeywords[j]);
        }
        node->syncViewFromData();
        const std::size_t level =
            std::min<std::size_t>(static_cast<std::size_t>(n.level), parents.size());
        project::TreeNode* parent = level == 0 ? nullptr : parents[level - 1];
        project::TreeNode* placed = target.tree.appendChild(parent, std::move(node));
        parents.resize(level);
        parents.push_back(placed);
        ++result.nodes;
    }
    target.tree.refreshNodeStatus();
    report(progress, 100);
    return result;
}

ConversionResult convertWinHelpProject(std::string_view hpjPath, const ProjectTarget& target,
                                       const ConversionProgress& progress) {
    const CheckedProject checked = checkWinHelpProject(hpjPath);
    if (!checked.error.empty()) {
        ConversionResult r;
        r.warnings = checked.warnings;
        r.warnings.push_back(checked.error);
        return r;
    }
    const ConvertedTopics topics =
        convertTopicFiles(checked, [&](int p) { report(progress, p * 40 / 100); });
    return registerConversion(checked, topics, target,
                              [&](int p) { report(progress, 40 + p * 60 / 100); });
}

}  // namespace tarnbook::winhelp
