// The WinHelp topic-file reader and the page writer: RTF from outside, in any state of
// damage, must give topics and warnings, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "winhelp/RtfTopics.h"
#include "winhelp/TopicPage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::winhelp;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RtfReadResult r = readRtfTopics(bytes, size % 2 ? 932 : 1252, "fuzz.rtf");
    PageLinks links;
    links.link = [](const std::string& target, LinkKind kind) -> std::optional<LinkTarget> {
        if (target.size() % 3 == 0) return std::nullopt;
        LinkTarget t;
        t.page = target + ".htm";
        if (kind == LinkKind::Popup) t.popupText = u"popup\n'text'\\";
        return t;
    };
    links.picture = [](const std::string& file) -> std::optional<std::string> { return file; };
    std::vector<std::string> warnings;
    for (const Topic& t : r.topics) {
        (void)renderTopicPage(t, links, &warnings);
        (void)plainText(t.body);
    }
    return 0;
}
