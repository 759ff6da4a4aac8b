#include "chm/HelpCodePage.h"

#include "platform/CodePages.h"
#include "platform/Cp932.h"

namespace tarnbook::chm {

std::u16string decodeHelpText(std::string_view bytes, std::uint32_t languageId) {
    const int codePage = platform::codePageOfLanguage(languageId);
    if (codePage == 932) return platform::decodeCp932(bytes);
    if (auto text = platform::decodeCodePage(bytes, codePage)) return *text;
    // No converter for the code page here: ASCII stays, other bytes are unknown.
    std::u16string out;
    for (unsigned char c : bytes) out.push_back(c < 0x80 ? c : u'\uFFFD');
    return out;
}

}  // namespace tarnbook::chm
