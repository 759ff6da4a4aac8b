#include "contents/ItemForms.h"

#include <algorithm>

#include "authoring/SjisConvert.h"
#include "contents/GeneratedPages.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/ProjectLifecycle.h"

namespace tarnbook::contents {

using project::TData;
using project::TreeNode;
using project::Workspace;

namespace {

constexpr std::string_view kNameOpener = "<a name=";
constexpr std::string_view kIdOpener = "<a id=";
constexpr std::string_view kClassOpener = "<a class=\"anchor\" name=";

const char* const kChooserTitle = "開く";

std::string withoutQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '"') out.push_back(c);
    return out;
}

// The anchor text at `pos`: up to the first '>' of the line (the rest of the line when
// there is none), double quotes removed.
std::string anchorAt(std::string_view line, std::size_t pos) {
    const std::size_t end = line.find('>', pos);
    return withoutQuotes(line.substr(pos, end == std::string_view::npos ? line.npos : end - pos));
}

void scanLine(const std::string& line, AnchorSearch variant, std::vector<std::string>& out) {
    const std::string low = platform::lowerCaseSjis(line);
    std::size_t pos;
    std::string_view work;
    bool hasName = false;
    if (std::size_t p = low.find(kNameOpener); p != std::string::npos) {
        // Names found on such a line come out in lower case.
        work = low;
        pos = p + kNameOpener.size();
        hasName = true;
    } else if (std::size_t q = low.find(kIdOpener); q != std::string::npos) {
        work = line;
        pos = q + kIdOpener.size();
    } else {
        pos = std::string::npos;
    }
    while (pos != std::string::npos) {
        out.push_back(anchorAt(work, pos));
        if (std::size_t n = low.find(kNameOpener, pos); n != std::string::npos)
            pos = n + kNameOpener.size();
        else if (std::size_t i = low.find(kIdOpener, pos); i != std::string::npos)
            pos = i + kIdOpener.size();
        else
            pos = std::string::npos;
    }
    if (variant == AnchorSearch::Property && !hasName)
        for (std::size_t c = low.find(kClassOpener); c != std::string::npos;
             c = low.find(kClassOpener, c + kClassOpener.size()))
            out.push_back(anchorAt(low, c + kClassOpener.size()));
}

// The link dialog's scan: the first "<a name=" of the line, up to the next ">"; a line
// without that ">" offers nothing.
void scanFirstName(const std::string& line, std::vector<std::string>& out) {
    const std::string low = platform::lowerCaseSjis(line);
    const std::size_t p = low.find(kNameOpener);
    if (p == std::string::npos) return;
    const std::size_t start = p + kNameOpener.size();
    const std::size_t end = low.find('>', start);
    if (end == std::string::npos) return;
    out.push_back(withoutQuotes(std::string_view(low).substr(start, end - start)));
}

int nodeIconSetting(const Workspace& ws) {
    return ws.project ? ws.project->readInteger("XHP", "NodeIcon", 0) : 0;
}

std::string prefixSetting(const Workspace& ws) {
    return ws.settings.readString("SYSTEM", "Prefix", "HLP_IDH_");
}

// Cuts UTF-16 text to `limit` units without leaving half of a surrogate pair.
std::u16string limitUnits(std::u16string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::u16string(text);
    std::size_t n = limit;
    if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    return std::u16string(text.substr(0, n));
}

bool isWebAddress(std::string_view text) {
    return project::namesWebAddress(text);
}

DialogPosition readPosition(const Workspace& ws, const char* keyX, const char* keyY) {
    return {ws.settings.readInteger("SYSTEM", keyX, 100),
            ws.settings.readInteger("SYSTEM", keyY, 100)};
}

void writePosition(Workspace& ws, const char* keyX, const char* keyY, DialogPosition where) {
    ws.settings.writeInteger("SYSTEM", keyX, where.x);
    ws.settings.writeInteger("SYSTEM", keyY, where.y);
}

// A title is proposed from a chosen page only when the page is HTML; the new-item dialogs
// compare the extension as written, the property dialog in any case.
bool isHtmlExtension(std::string_view path, bool anyCase) {
    std::string ext = platform::extensionPart(path);
    if (anyCase) ext = platform::lowerCaseSjis(ext);
    return ext == ".html" || ext == ".htm";
}

}  // namespace

std::string limitText(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t width =
            platform::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2
                                                                                             : 1;
        if (i + width > limit) break;
        i += width;
    }
    return std::string(text.substr(0, i));
}

const std::string& noAnchorEntry() {
    static const std::string text = platform::utf8ToCp932("指定無し");
    return text;
}

std::vector<std::string> anchorsInLines(const std::vector<std::string>& lines,
                                        AnchorSearch variant) {
    std::vector<std::string> out;
    bool joinNext = false;
    for (const std::string& raw : lines) {
        std::string line = authoring::convertLineToSjis(raw);
        if (variant == AnchorSearch::PageLink) {
            scanFirstName(line, out);
            continue;
        }
        // An opener split after "<a" continues on the next line.
        const bool bareOpener = platform::lowerCaseSjis(line) == "<a";
        if (joinNext) line = "<a " + line;
        joinNext = bareOpener;
        scanLine(line, variant, out);
    }
    return out;
}

void AnchorList::choose(int index) {
    chosen_ = index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

void AnchorList::clear() {
    entries_.clear();
    chosen_ = -1;
}

bool AnchorList::search(std::string_view path, AnchorSearch variant) {
    if (!platform::fileExists(path)) return false;
    const std::optional<std::string> bytes = platform::tryReadFile(path);
    if (!bytes) return false;
    entries_.clear();
    entries_.push_back(noAnchorEntry());
    for (std::string& a : anchorsInLines(platform::splitLines(*bytes), variant))
        entries_.push_back(variant == AnchorSearch::PageLink ? std::move(a) : limitText(a, kLimit));
    chosen_ = 0;
    return true;
}

void AnchorList::addTyped(std::string_view typed) {
    const std::string text = limitText(typed, kLimit);
    if (text.empty()) return;
    if (std::find(entries_.begin(), entries_.end(), text) != entries_.end()) return;
    if (entries_.empty()) entries_.push_back(noAnchorEntry());
    entries_.push_back(text);
    chosen_ = static_cast<int>(entries_.size()) - 1;
}

void AnchorList::chooseEqual(std::string_view anchor) {
    const auto it = std::find(entries_.begin(), entries_.end(), anchor);
    chosen_ = it != entries_.end() ? static_cast<int>(it - entries_.begin())
                                   : (entries_.empty() ? -1 : 0);
}

std::string AnchorList::chosenAnchor() const {
    if (chosen_ <= 0 || chosen_ >= static_cast<int>(entries_.size())) return {};
    return entries_[static_cast<std::size_t>(chosen_)];
}

// ---- new-item dialogs ----

NewItemForm::NewItemForm(Workspace& ws, ItemKind kind)
    : ws_(ws), kind_(kind), position_(readPosition(ws, "NewHeadPosX", "NewHeadPosY")) {
    iconChoice_ = nodeIconSetting(ws) == 1 ? 2 : 0;
}

int NewItemForm::imageIndexOfChoice(ItemKind kind, int choice) {
    return kind == ItemKind::Heading ? std::clamp(choice, 0, 3) * 2 : std::clamp(choice, 0, 33) + 8;
}

void NewItemForm::setTitle(std::string_view title) {
    title_ = titleLimit() ? limitText(title, titleLimit()) : std::string(title);
}

void NewItemForm::setPage(std::string_view page) {
    page_ = limitText(page, kPageLimit);
    if (page_.empty()) {
        searchEnabled_ = false;
        anchors_.clear();
        return;
    }
    anchors_.search(page_, AnchorSearch::NewItem);
    searchEnabled_ = platform::fileExists(page_);
}

void NewItemForm::setIconChoice(int choice) {
    if (choice >= 0 && choice < iconCount()) iconChoice_ = choice;
}

bool NewItemForm::okEnabled() const {
    if (title_.empty()) return false;
    return heading() || !page_.empty();
}

bool NewItemForm::autoNewEnabled() const {
    return !title_.empty() && platform::isValidFileName(title_);
}

bool NewItemForm::autoNew() {
    if (!autoNewEnabled() || !ws_.hasProject()) return false;
    const std::string path = platform::joinPath(authoring::resourceFolder(ws_), title_ + ".html");
    bool selectPage = false;
    if (ws_.settings.readBool("SYSTEM", "ConfirmAutoHTML", false) && platform::fileExists(path)) {
        ws_.prompts.warn("同名のHTMLファイルが存在します", ui::Buttons::Ok);
        selectPage = true;
    }
    // A path made by the program is not cut to the typing limit.
    page_ = path;
    anchors_.search(page_, AnchorSearch::NewItem);
    searchEnabled_ = platform::fileExists(page_);
    return selectPage;
}

std::string NewItemForm::chooserFolder() const {
    return authoring::resourceFolder(ws_);
}

std::string NewItemForm::chooserFilter() const {
    return heading() ? "HTMLファイル(*.html;*.htm)|*.html;*.htm|HTMLアーカイブ (*.mht)|*.mht|"
                       "テキストファイル (*.txt)|*.txt"
                     : "HTML ファイル (*.html;*.htm)|*.html;*.htm|HTML アーカイブ (*.mht)|*.mht|"
                       "テキストファイル (*.txt)|*.txt";
}

bool NewItemForm::chooseFile() {
    const auto chosen = ws_.prompts.chooseOpenFile(kChooserTitle, chooserFilter(), chooserFolder());
    if (!chosen || chosen->empty()) return false;
    page_ = *chosen;
    anchors_.search(page_, AnchorSearch::NewItem);
    searchEnabled_ = platform::fileExists(page_);
    if (title_.empty() && isHtmlExtension(page_, false)) title_ = extractHtmlTitle(page_);
    return true;
}

void NewItemForm::searchAnchor() {
    anchors_.search(page_, AnchorSearch::NewItem);
}

ItemForm NewItemForm::result() const {
    ItemForm f;
    f.title = title_;
    f.page = page_;
    f.anchor = anchors_.chosenAnchor();
    f.iconChoice = iconChoice_;
    return f;
}

void NewItemForm::storePosition(DialogPosition where) {
    position_ = where;
    writePosition(ws_, "NewHeadPosX", "NewHeadPosY", where);
}

// ---- property dialog ----

PropertyForm::PropertyForm(Workspace& ws, TreeNode& node)
    : ws_(ws),
      node_(node),
      itemType_(node.data.ItemType),
      imageIndex_(node.data.ImageIndex),
      position_(readPosition(ws, "PropPosX", "PropPosY")) {
    const TData& rec = node.data;
    showKind();
    title_ = rec.Title;
    contextId_ = rec.ContextID.empty() ? prefixSetting(ws) : rec.ContextID;
    if (!rec.HTML.empty()) {
        if (project::isWebLinkIcon(rec.ImageIndex)) {
            page_ = rec.HTML;
        } else {
            page_ = authoring::resourceFullPath(ws, rec.HTML);
            if (anchors_.search(page_, AnchorSearch::Property)) anchors_.chooseEqual(rec.Anchor);
        }
    }
    if (!rec.KeyWord.empty()) {
        keyword_ = rec.KeyWord;
        subTicked_ = !rec.SubKeyWord.empty();
        if (subTicked_) subKeyword_ = rec.SubKeyWord;
    }
}

std::string PropertyForm::itemTypeText() const {
    return heading() ? "ヘッダ" : "コンテンツ";
}

void PropertyForm::showKind() {
    if (heading()) {
        if (imageIndex_ >= 0 && imageIndex_ <= 6 && imageIndex_ % 2 == 0)
            headingIcon_ = imageIndex_ / 2;
        contentIcon_ = -1;
    } else {
        headingIcon_ = -1;
        contentIcon_ = imageIndex_ >= 8 && imageIndex_ <= 41 ? imageIndex_ - 8 : -1;
    }
}

void PropertyForm::setHeadingIcon(int choice) {
    if (heading() && choice >= 0 && choice <= 3) headingIcon_ = choice;
}

void PropertyForm::setContentIcon(int choice) {
    if (!heading() && choice >= 0 && choice <= 33) contentIcon_ = choice;
}

void PropertyForm::setTitle(std::string_view title) {
    title_ = std::string(title);
}

void PropertyForm::setPage(std::string_view page) {
    page_ = limitText(page, kPageLimit);
    if (!page_.empty()) anchors_.search(page_, AnchorSearch::Property);
}

void PropertyForm::setKeyword(std::u16string_view keyword) {
    keyword_ = limitUnits(keyword, kKeywordLimit);
}

void PropertyForm::setSubKeyword(std::u16string_view subKeyword) {
    subKeyword_ = limitUnits(subKeyword, kKeywordLimit);
}

void PropertyForm::setSubKeywordTicked(bool ticked) {
    subTicked_ = ticked;
}

void PropertyForm::setContextId(std::string_view id) {
    contextId_ = limitText(id, kIdLimit);
}

bool PropertyForm::keywordFieldsEnabled() const {
    return !page_.empty();
}

bool PropertyForm::subKeywordCheckEnabled() const {
    return !page_.empty() && !title_.empty();
}

bool PropertyForm::okEnabled() const {
    if (title_.empty()) return false;
    return !page_.empty() || heading();
}

void PropertyForm::copyTitle() {
    keyword_ = limitUnits(platform::decodeCp932(title_), kKeywordLimit);
}

void PropertyForm::clearKeyword() {
    keyword_.clear();
}

void PropertyForm::toggleType() {
    const bool alternate = nodeIconSetting(ws_) != 0;
    if (heading()) {
        itemType_ = TData::kContent;
        imageIndex_ = alternate ? 10 : 8;
    } else {
        itemType_ = TData::kHeading;
        imageIndex_ = alternate ? 4 : 0;
    }
    showKind();
}

std::string PropertyForm::chooserFolder() const {
    return platform::joinPath(authoring::resourceFolder(ws_), "");
}

std::string PropertyForm::chooserFilter() const {
    return "HTMLファイル (*.htm;*.html)|*.htm;*.html|HTMLアーカーブ (*.mht)|*.mht|"
           "テキストファイル (*.txt)|*.txt";
}

bool PropertyForm::chooseFile() {
    const auto chosen = ws_.prompts.chooseOpenFile(kChooserTitle, chooserFilter(), chooserFolder());
    if (!chosen || chosen->empty()) return false;
    page_ = *chosen;
    if (title_.empty() && isHtmlExtension(page_, true)) title_ = extractHtmlTitle(page_);
    anchors_.search(page_, AnchorSearch::Property);
    return true;
}

void PropertyForm::searchAnchor() {
    anchors_.search(page_, AnchorSearch::Property);
}

void PropertyForm::accept(const authoring::CopyProgress& progress) {
    ws_.tree.willChange(&node_);
    TData& rec = node_.data;
    rec.Title = title_;
    rec.HTML = authoring::resourceRelativeName(ws_, page_);
    rec.Anchor = anchors_.chosenAnchor();
    rec.KeyWord = keyword_;
    rec.SubKeyWord = subTicked_ ? subKeyword_ : std::u16string();
    rec.ContextID = contextId_ == prefixSetting(ws_) ? std::string() : contextId_;

    if (!page_.empty() && !authoring::inResourceFolder(ws_, page_) && platform::fileExists(page_)) {
        const std::string copy = authoring::copyIntoResource(
            page_,
            platform::joinPath(authoring::resourceFolder(ws_), platform::fileNamePart(page_)));
        rec.HTML = authoring::resourceRelativeName(ws_, copy);
        authoring::copyCompanionFolder(ws_, page_, progress);
    }

    rec.ItemType = itemType_;
    if (heading()) {
        if (headingIcon_ >= 0) imageIndex_ = headingIcon_ * 2;
    } else if (contentIcon_ >= 0) {
        imageIndex_ = contentIcon_ + 8;
    }
    const bool web = isWebAddress(rec.HTML);
    if (web && !project::isWebLinkIcon(imageIndex_)) imageIndex_ = 12;
    rec.ImageIndex = imageIndex_;

    node_.caption = platform::decodeCp932(rec.Title);
    node_.imageIndex = imageIndex_;
    // A heading shows its open icon when selected, unless it is a web link.
    node_.selectedIndex =
        heading() && !project::isWebLinkIcon(imageIndex_) ? imageIndex_ + 1 : imageIndex_;
    ws_.markChanged();
    project::refreshStatus(ws_);
}

void PropertyForm::cancel() {
    project::refreshStatus(ws_);
}

void PropertyForm::storePosition(DialogPosition where) {
    position_ = where;
    writePosition(ws_, "PropPosX", "PropPosY", where);
}

// ---- popup-text dialog ----

void PopupForm::setPopupText(std::string_view utf8) {
    const std::u16string text = platform::utf8ToUtf16(utf8);
    popupText = platform::utf16ToUtf8(limitUnits(text, kTextLimit));
}

}  // namespace tarnbook::contents
