// A page on its way to the web site: encoding detection, the HTML scanner, the rewriter with
// its control-object replacement, and the search text. Pages come from anywhere.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "webexport/HtmlScanner.h"
#include "webexport/PageCharset.h"
#include "webexport/PageRewriter.h"
#include "webexport/SearchIndex.h"
#include "webexport/SiteLinks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::webexport;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DecodedPage page = decodePage(bytes);
    if (!isValidUtf8(page.utf8)) __builtin_trap();
    std::size_t pos = 0;
    for (const HtmlToken& t : scanHtml(page.utf8)) {
        if (t.begin != pos || t.end < t.begin) __builtin_trap();  // tokens must tile the page
        pos = t.end;
    }
    if (pos != page.utf8.size()) __builtin_trap();
    PageContext context;
    context.rootPrefix = "../";
    context.rewriteUrl = [](std::string_view url) -> std::optional<std::string> {
        if (classifyUrl(url) != UrlKind::Local) return std::nullopt;
        return relativeUrl("a/b.htm", decodePercent(url));
    };
    context.keywordTopics = [](bool, std::string_view k) {
        return std::vector<TopicLink>{{std::string(k), "x.htm"}};
    };
    (void)rewritePage(page.utf8, context);
    (void)visibleText(page.utf8);
    (void)pageReferences(page.utf8);
    (void)decodeStyleSheet(bytes);
    return 0;
}
