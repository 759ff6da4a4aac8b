#include "project/ProjectPropertyForm.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/Languages.h"
#include "project/ProjectFileKeys.h"
#include "project/ProjectLifecycle.h"
#include "project/ResourcePaths.h"
#include "project/Workspace.h"
#include "ui/Prompts.h"

namespace tarnbook::project {

namespace {

using platform::IniFile;
constexpr const char* kSection = "XHP";
constexpr std::array<const char*, 3> kUseKeys = {"UseMap", "UsePopup", "UseUserAlias"};
constexpr std::array<const char*, 3> kFileKeys = {"MAP", "PopupTxt", "UserAlias"};
constexpr std::array<const char*, 4> kPageKeys = {"Default", "URL", "JUMP1", "JUMP2"};

std::string read(const IniFile& p, const char* key, const std::string& def = {}) {
    return p.readString(kSection, key, def);
}

std::string mergeKey(std::size_t n) {
    return "Merge" + std::to_string(n);
}

// Folders compared as the project stores them: separator style and ASCII letter case do not
// make two spellings of one folder different.
std::string folderKey(std::string_view folder) {
    std::string k = platform::upperCaseSjis(platform::backslashSeparators(folder));
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return k;
}

// Copies `from` into `folder` under its own name unless that file is already there.
void copyOnce(const std::string& from, const std::string& folder) {
    const std::string to = platform::joinPath(folder, platform::fileNamePart(from));
    if (!platform::fileExists(to)) platform::copyFile(from, to, true);
}

}  // namespace

int resetIconFor(ProjectPropertyForm::IconStyle style, bool hasChildren) {
    const bool html = style == ProjectPropertyForm::IconStyle::HtmlHelp;
    if (hasChildren) return html ? 4 : 0;
    return html ? 10 : 8;
}

ProjectPropertyForm ProjectPropertyForm::load(const Workspace& ws) {
    ProjectPropertyForm f;
    const IniFile& p = *ws.project;
    f.name_ = read(p, "Name");
    f.projectFolder_ = ws.projectFolder();

    f.helpName = read(p, "HelpName", f.name_);
    f.fileName = read(p, "FileName").empty() ? f.name_ : platform::baseName(compiledFileName(p));
    f.fields.fontName = read(p, "FontName");
    f.fields.fontSize = p.readInteger(kSection, "FontSize", 10);
    f.fields.posX = read(p, "PosX", "200");
    f.fields.posY = read(p, "PosY", "200");
    f.fields.width = read(p, "Width", "600");
    f.fields.height = read(p, "Height", "500");
    f.fields.frameWidth = read(p, "FrameWidth", "160");
    f.fields.keepPos = p.readBool(kSection, "KeepPos");
    for (std::size_t i = 0; i < kToolbarButtonKeys.size(); ++i)
        f.fields.buttons[i] = p.readBool(kSection, kToolbarButtonKeys[i]);
    f.jump1Label = read(p, "Jump1lbl");
    f.jump2Label = read(p, "Jump2lbl");
    f.fields.hideToolbar = p.readBool(kSection, "HideTB");
    f.fields.hideText = p.readBool(kSection, "HideTxt");
    f.fields.tabSearch = p.readBool(kSection, "TabSearch");
    f.fields.tabFavorite = p.readBool(kSection, "TabFavorite");
    f.fields.fullTextSearch = p.readBool(kSection, "FullTextSearch");
    f.fields.visible = p.readBool(kSection, "Visible");
    f.fields.tabKeyword = p.readBool(kSection, "TabKeyword", true);
    f.fields.hideFirst = p.readBool(kSection, "HideFirst");
    f.fields.topmost = p.readBool(kSection, "Topmost");
    f.fields.edge = p.readBool(kSection, "Edge");
    f.fields.binaryToc = p.readBool(kSection, "BToc");
    f.fields.maximize = p.readBool(kSection, "Maximize");
    f.fields.nodeSquare = p.readBool(kSection, "NodeSquare", true);
    f.fields.nodeLines = p.readBool(kSection, "NodeLines", true);
    f.fields.oneClick = p.readBool(kSection, "OneClick");
    f.fields.autoHtml = read(p, "AutoHTML");
    f.fields.autoIndex = read(p, "AutoIndex");
    f.fields.autoHead = read(p, "AutoHEAD");
    f.fields.langNum = p.readInteger(kSection, "LangNum", kDefaultLanguageIndex);
    if (helpLanguageText(f.fields.langNum).empty()) f.fields.langNum = kDefaultLanguageIndex;
    f.fields.langStr = std::string(helpLanguageText(f.fields.langNum));
    f.fields.convSjis = p.readBool(kSection, "ConvSJIS");
    f.fields.convKillJs = p.readBool(kSection, "ConvKillJS");
    f.fields.urlFilter = p.readBool(kSection, "URLFilter");
    f.fields.setCompleteDest = p.readBool(kSection, "SetCompleteDestOW");
    f.fields.completeDestPath = read(p, "SetCompleteDestPathOW");

    const int merges = p.readInteger(kSection, "Merge", 0);
    for (int n = 1; n <= merges; ++n) f.merges_.push_back(read(p, mergeKey(n).c_str()));

    for (const TreeNode* node : ws.tree.preorder()) {
        const std::string& html = node->data.HTML;
        PageEntry e;
        e.html = html;
        e.separator = html.empty() || namesWebAddress(html);
        e.title = e.separator ? "-----" : node->data.Title;
        f.pages_.push_back(std::move(e));
    }
    for (std::size_t i = 0; i < kPageKeys.size(); ++i)
        f.pageSelection_[i] = f.preselect(read(p, kPageKeys[i]));

    // The build names these files from the project folder, so a copy must lie there.
    copyLinkedFilesIn(p, f.projectFolder_, LinkedCopy::Always);
    for (std::size_t i = 0; i < kFileKeys.size(); ++i) {
        f.useFile[i] = p.readBool(kSection, kUseKeys[i]);
        f.linkedFile[i] = linkedFileName(p, kFileKeys[i]);
    }
    return f;
}

std::string ProjectPropertyForm::caption() const {
    return "[ " + name_ + " ] のプロパティ";
}

int ProjectPropertyForm::preselect(const std::string& stored) const {
    if (pages_.empty()) return -1;
    int lastPage = -1;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i].separator) continue;
        if (std::string(kResourcePrefix) + pages_[i].html == stored) return static_cast<int>(i);
        lastPage = static_cast<int>(i);
    }
    return lastPage < 0 ? 0 : lastPage;
}

void ProjectPropertyForm::selectPage(PageList list, int entry) {
    if (entry < -1 || entry >= static_cast<int>(pages_.size())) return;
    pageSelection_[index(list)] = entry;
}

bool ProjectPropertyForm::addMergeFile(ui::Prompts& prompts, const std::string& path) {
    if (folderKey(platform::folderPart(path)) == folderKey(projectFolder_)) {
        prompts.warn(
            "プロジェクトディレクトリ内のファイルを\nマージファイルに指定する事はできません");
        return false;
    }
    const std::string contents = platform::changeExtension(path, ".hhc");
    if (!platform::fileExists(contents)) {
        prompts.warn("コンテンツファイルが存在しない為\nマージファイルとして追加できません");
        return false;
    }
    copyOnce(path, projectFolder_);
    copyOnce(contents, projectFolder_);
    merges_.push_back(path);
    return true;
}

void ProjectPropertyForm::removeMergeFiles(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it >= 0 && *it < static_cast<int>(merges_.size()))
            merges_.erase(merges_.begin() + *it);
}

bool ProjectPropertyForm::chooseLinkedFile(ui::Prompts& prompts, LinkedFile which) {
    static constexpr std::array<const char*, 3> kFilters = {"マップファイル(*.MAP)|*.MAP",
                                                            "テキストファイル (*.txt)|*.txt",
                                                            "テキストファイル (*.txt)|*.txt"};
    const auto i = static_cast<std::size_t>(which);
    const auto chosen = prompts.chooseOpenFile("", kFilters[i], projectFolder_);
    if (!chosen) return false;
    const std::string name = platform::fileNamePart(*chosen);
    const std::string copy = platform::joinPath(projectFolder_, name);
    if (folderKey(platform::folderPart(*chosen)) != folderKey(projectFolder_) &&
        platform::fileExists(copy)) {
        const auto here = platform::tryReadFile(copy);
        const auto there = platform::tryReadFile(*chosen);
        if (!here || !there || *here != *there) {
            const auto answer = prompts.confirm(
                "プロジェクトフォルダには別の内容の " + platform::cp932ToUtf8(name) +
                    " があります。\n選んだファイルで置き換えますか?",
                ui::Buttons::YesNoCancel);
            if (answer == ui::Answer::Cancel) return false;
            if (answer == ui::Answer::Yes && !platform::copyFile(*chosen, copy, false)) {
                prompts.showError(platform::cp932ToUtf8(copy) + " に書き込めません");
                return false;
            }
        }
    } else if (!platform::fileExists(copy) && !platform::copyFile(*chosen, copy, true)) {
        prompts.showError(platform::cp932ToUtf8(copy) + " に書き込めません");
        return false;
    }
    linkedFile[i] = name;
    return true;
}

std::optional<std::string> ProjectPropertyForm::invalidField() const {
    if (fileName.empty() || !platform::isValidFileName(fileName))
        return "「ファイル名」にはファイル名として使える文字だけを入力してください";
    const std::array<std::pair<const char*, const std::string*>, 5> numbers = {{
        {"左位置", &fields.posX},
        {"上位置", &fields.posY},
        {"横幅", &fields.width},
        {"高さ", &fields.height},
        {"左フレームサイズ", &fields.frameWidth},
    }};
    for (const auto& [label, text] : numbers) {
        try {
            numberFieldValue(*text);
        } catch (const std::invalid_argument&) {
            return std::string("「") + label + "」には数値を入力してください";
        }
    }
    return std::nullopt;
}

std::string ProjectPropertyForm::pageValue(PageList list, const std::string& standard) const {
    const int sel = pageSelection(list);
    if (sel < 0) return standard;
    const PageEntry& e = pages_[static_cast<std::size_t>(sel)];
    return e.separator ? standard : std::string(kResourcePrefix) + e.html;
}

bool ProjectPropertyForm::accept(Workspace& ws) const {
    if (auto bad = invalidField()) {
        ws.prompts.warn(*bad);
        return false;
    }
    IniFile& p = *ws.project;
    const auto str = [&p](const char* key, const std::string& v) {
        p.writeString(kSection, key, v);
    };
    const auto flag = [&p](const char* key, bool v) { p.writeBool(kSection, key, v); };
    flag("KeepPos", fields.keepPos);
    flag("Topmost", fields.topmost);
    str("HelpName", helpName);
    p.writeInteger(kSection, "PosX", numberFieldValue(fields.posX));
    p.writeInteger(kSection, "PosY", numberFieldValue(fields.posY));
    p.writeInteger(kSection, "Width", numberFieldValue(fields.width));
    p.writeInteger(kSection, "Height", numberFieldValue(fields.height));
    p.writeInteger(kSection, "FrameWidth", numberFieldValue(fields.frameWidth));
    for (std::size_t i = 0; i < kToolbarButtonKeys.size(); ++i)
        flag(kToolbarButtonKeys[i], fields.buttons[i]);
    str("Jump1lbl", jump1Label);
    str("Jump2lbl", jump2Label);
    flag("BToc", fields.binaryToc);
    flag("FullTextSearch", fields.fullTextSearch);
    flag("TabSearch", fields.tabSearch);
    flag("TabFavorite", fields.tabFavorite);
    flag("TabKeyword", fields.tabKeyword);
    flag("Edge", fields.edge);
    flag("Maximize", fields.maximize);
    flag("NodeSquare", fields.nodeSquare);
    flag("NodeLines", fields.nodeLines);
    flag("OneClick", fields.oneClick);
    flag("Visible", fields.visible);
    flag("HideTB", fields.hideToolbar);
    flag("HideTxt", fields.hideText);
    p.writeInteger(kSection, "LangNum", fields.langNum);
    str("LangStr", std::string(helpLanguageText(fields.langNum)));
    str("AutoHTML", fields.autoHtml);
    str("AutoIndex", fields.autoIndex);
    str("AutoHEAD", fields.autoHead);
    str("FileName", fileName + ".chm");
    str("FontName", fields.fontName);
    p.writeInteger(kSection, "FontSize", fields.fontSize);
    flag("HideFirst", fields.hideFirst);
    flag("ConvSJIS", fields.convSjis);
    flag("ConvKillJS", fields.convKillJs);
    flag("URLFilter", fields.urlFilter);
    flag("SetCompleteDestOW", fields.setCompleteDest);
    str("SetCompleteDestPathOW", fields.completeDestPath);

    const std::string standard = ws.settings.readString("SYSTEM", "DefHTML");
    for (std::size_t i = 0; i < kPageKeys.size(); ++i) {
        const auto list = static_cast<PageList>(i);
        if (list == PageList::Default && pageSelection(list) < 0) continue;
        str(kPageKeys[i], pageValue(list, standard));
    }
    writeMergeFiles(ws);
    for (std::size_t i = 0; i < kFileKeys.size(); ++i) {
        flag(kUseKeys[i], useFile[i]);
        if (!linkedFile[i].empty()) str(kFileKeys[i], linkedFile[i]);
    }
    p.save();
    applyIconReset(ws);
    return true;
}

void ProjectPropertyForm::writeMergeFiles(Workspace& ws) const {
    IniFile& p = *ws.project;
    p.writeInteger(kSection, "Merge", static_cast<long long>(merges_.size()));
    for (std::size_t n = 1; n <= merges_.size(); ++n) {
        const std::string& src = merges_[n - 1];
        // The key always follows the list, so a row never stands beside another row's path.
        p.writeString(kSection, mergeKey(n), src);
        if (!platform::fileExists(src)) continue;
        const std::string ageKey = mergeKey(n) + "age";
        const long long stored = p.readInteger(kSection, ageKey, 0);
        const std::int64_t current = platform::fileAge(src);
        const std::string copy = platform::joinPath(projectFolder_, platform::fileNamePart(src));
        if (platform::fileExists(copy) && stored != 0 && stored < current) {
            ws.prompts.warn("マージ元ファイル\n[ " + platform::cp932ToUtf8(src) +
                            " ]\nを新しいファイルに入れ替えます");
            if (!platform::copyFile(src, copy, false) ||
                !platform::copyFile(platform::changeExtension(src, ".hhc"),
                                    platform::changeExtension(copy, ".hhc"), false)) {
                // The old age stays, so the next OK or build tries the copy again.
                ws.prompts.showError(platform::cp932ToUtf8(copy) + " を更新できません");
                continue;
            }
        }
        p.writeInteger(kSection, ageKey, current);
    }
}

void ProjectPropertyForm::applyIconReset(Workspace& ws) const {
    if (!iconReset_) return;
    for (TreeNode* node : ws.tree.preorder()) {
        // A web link is recognised by its icon; resetting it would turn its address into a
        // page the build looks for in the resource folder.
        if (node->data.isWebLink()) continue;
        ws.tree.willChange(node);
        node->data.ImageIndex = resetIconFor(*iconReset_, node->hasChildren());
        node->syncViewFromData();
        ws.tree.nodeChanged(node);
    }
    ws.markChanged();
    refreshStatus(ws);
}

}  // namespace tarnbook::project
