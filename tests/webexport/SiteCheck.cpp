#include "SiteCheck.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "webexport/HtmlScanner.h"
#include "webexport/SiteLinks.h"

namespace tarnbook::testing {
namespace fs = std::filesystem;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

bool linkExists(const fs::path& root, const fs::path& from, const std::string& url) {
    const std::string path = webexport::decodePercent(url.substr(0, url.find_first_of("?#")));
    if (path.empty()) return true;
    const fs::path target = (from / path).lexically_normal();
    const auto rel = target.lexically_relative(root).string();
    return rel.rfind("..", 0) != 0 && fs::is_regular_file(target);
}

}  // namespace

SiteCheck checkSite(const std::string& folder) {
    SiteCheck check;
    const fs::path root = fs::path(folder).lexically_normal();
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string ext = webexport::asciiLower(entry.path().extension().string());
        if (ext != ".htm" && ext != ".html") continue;
        const std::string rel = entry.path().lexically_relative(root).string();
        check.pages.push_back(rel);
        const std::string html = readText(entry.path().string());
        for (const auto& t : webexport::scanHtml(html)) {
            if (t.kind != webexport::HtmlToken::Kind::StartTag) continue;
            for (const auto& a : t.attributes) {
                if (a.name != "href" && a.name != "src" && a.name != "background") continue;
                if (webexport::classifyUrl(a.value) != webexport::UrlKind::Local &&
                    webexport::classifyUrl(a.value) != webexport::UrlKind::HelpStore)
                    continue;
                if (!linkExists(root, entry.path().parent_path(), a.value))
                    check.brokenLinks.push_back(rel + ": " + a.value);
            }
        }
    }
    const std::string toc = readText((root / "_tarnbook/toc.js").string());
    const std::regex node(R"re(\{"t":"(?:[^"\\]|\\.)*"(?:,"u":"([^"]*)")?(,"x":1)?)re");
    for (auto it = std::sregex_iterator(toc.begin(), toc.end(), node); it != std::sregex_iterator();
         ++it) {
        if ((*it)[1].matched && !(*it)[2].matched) {
            check.tocUrls.push_back((*it)[1].str());
            if (!linkExists(root, root, (*it)[1].str()))
                check.brokenLinks.push_back("toc.js: " + (*it)[1].str());
        }
    }
    return check;
}

}  // namespace tarnbook::testing
