// The viewer's readers of a compiled help's system entries and pages take them as they come.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "viewer/EntryTypes.h"
#include "viewer/HelpSystemFiles.h"
#include "viewer/PageSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::viewer;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The input as the five system entries, one fifth each.
    const std::size_t part = size / 5;
    const HelpSystemInfo info = readHelpSystemInfo(
        {bytes.substr(0, part), bytes.substr(part, part), bytes.substr(2 * part, part),
         bytes.substr(3 * part, part), bytes.substr(4 * part)});
    if (info.window && (info.window->width() <= 0 || info.window->height() <= 0)) __builtin_trap();

    // And as a page: its text is searchable by any piece of itself.
    const PageText text = extractPageText(bytes);
    PageSearch search;
    search.add(0, text);
    const std::string word = text.text.substr(0, text.text.find(' '));
    if (!word.empty() && search.find(word).empty()) __builtin_trap();
    (void)pageForView(bytes, std::nullopt);
    (void)pageForView(bytes, 0x804);  // Chinese: decoded by the language's code page
    return 0;
}
