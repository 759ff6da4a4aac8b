#include "workshopimport/ResourceCopy.h"

#include <cerrno>
#include <deque>
#include <unordered_set>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "sitemap/HtmlEntities.h"
#include "sitemap/HtmlTokenizer.h"
#include "workshopimport/LocalPath.h"

namespace tarnbook::workshopimport {

namespace {

bool isPage(std::string_view path) {
    const std::string ext = platform::upperCaseSjis(platform::extensionPart(path));
    return ext == ".HTM" || ext == ".HTML";
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "my%20page.htm?x=1" -> "my page.htm"
std::string fileOfUrl(std::string_view url) {
    std::size_t end = url.find_first_of("?#");
    url = url.substr(0, end);
    std::string out;
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size() && hexValue(url[i + 1]) >= 0 &&
            hexValue(url[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(url[i + 1]) * 16 + hexValue(url[i + 2]));
            i += 2;
        } else {
            out += url[i];
        }
    }
    return out;
}

// Answers to the overwrite question, remembered for the rest of the copy.
class OverwritePolicy {
  public:
    explicit OverwritePolicy(ui::Prompts& prompts) : prompts_(prompts) {}
    bool replace(const std::string& relative, CopyResult& result) {
        if (keepAll_) return false;
        const ui::Answer a =
            prompts_.confirm("[_RESOURCE\\" + platform::cp932ToUtf8(relative) +
                                 "] は既にあり、内容が違います。上書きしますか?\r"
                                 "(キャンセル: 以降の同様のファイルはすべてそのまま残します)",
                             ui::Buttons::YesNoCancel);
        if (a == ui::Answer::Cancel) {
            keepAll_ = true;
            result.cancelled = true;
        }
        return a == ui::Answer::Yes;
    }

  private:
    ui::Prompts& prompts_;
    bool keepAll_ = false;
};

}  // namespace

std::vector<std::string> pageReferences(const std::string& pageRelative,
                                        const std::string& pageBytes) {
    std::vector<std::string> refs;
    const std::string folder = platform::folderPartWithSeparator(pageRelative);
    sitemap::HtmlTokenizer tokens(pageBytes);
    sitemap::Tag tag;
    while (tokens.next(tag)) {
        if (tag.closing) continue;
        for (const sitemap::TagAttribute& a : tag.attributes) {
            if (a.name != "href" && a.name != "src" && a.name != "background") continue;
            const std::string url =
                fileOfUrl(sitemap::decodeEntities(a.value, sitemap::TextForm::Cp932));
            if (url.empty()) continue;
            const LocalTarget t = classifyLocal(url);
            const bool drive = url.size() > 1 && url[1] == ':';
            if (t.kind == LocalTarget::Kind::None || t.kind == LocalTarget::Kind::Address || drive)
                continue;
            const bool rooted = url[0] == '/' || url[0] == '\\';
            const LocalTarget resolved = classifyLocal(rooted ? url : folder + url);
            if (resolved.kind == LocalTarget::Kind::Page) refs.push_back(resolved.page);
        }
    }
    return refs;
}

CopyResult copyResources(const std::string& sourceFolder, const std::string& resourceFolder,
                         const std::vector<std::string>& files, ui::Prompts& prompts,
                         const std::function<void(std::size_t, std::size_t)>& progress) {
    CopyResult result;
    OverwritePolicy policy(prompts);
    std::deque<std::string> queue;
    std::unordered_set<std::string> seen;
    auto enqueue = [&](const std::string& rel) {
        if (seen.insert(pageKey(rel)).second) queue.push_back(rel);
    };
    for (const std::string& f : files) enqueue(f);
    std::size_t done = 0;
    while (!queue.empty()) {
        const std::string rel = queue.front();
        queue.pop_front();
        const std::string from = platform::joinPath(sourceFolder, platform::slashSeparators(rel));
        const std::string to = platform::joinPath(resourceFolder, platform::slashSeparators(rel));
        const auto bytes = platform::fileExists(from) ? platform::tryReadFile(from) : std::nullopt;
        if (!bytes) {
            result.missing.push_back(rel);
        } else {
            if (isPage(rel))
                for (const std::string& ref : pageReferences(rel, *bytes)) enqueue(ref);
            const auto existing =
                platform::fileExists(to) ? platform::tryReadFile(to) : std::nullopt;
            if (existing && *existing == *bytes) {
                ++result.unchanged;
            } else if (existing && !policy.replace(rel, result)) {
                ++result.kept;
            } else {
                if (!platform::createFolders(platform::folderPart(to)))
                    throw platform::IoError(platform::failureText(
                        platform::FileAction::CreateFolder,
                        platform::cp932ToUtf8(platform::folderPart(to)), errno));
                platform::writeFileAtomic(to, *bytes);
                result.copied.push_back(rel);
            }
        }
        ++done;
        if (progress) progress(done, done + queue.size());
    }
    return result;
}

}  // namespace tarnbook::workshopimport
