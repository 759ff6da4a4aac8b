#include "workshopimport/SjisFit.h"

#include "platform/Cp932.h"

namespace tarnbook::workshopimport {

std::string SjisFit::toCp932(std::string_view value, sitemap::TextForm form) {
    if (form == sitemap::TextForm::Cp932) return std::string(value);
    const std::u16string wide = platform::utf8ToUtf16(value);
    std::string out;
    out.reserve(value.size());
    bool lostHere = false;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char16_t u = wide[i];
        if (u < 0x80) {
            out += static_cast<char>(u);
            continue;
        }
        const bool pair = u >= 0xD800 && u <= 0xDBFF && i + 1 < wide.size() &&
                          wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
        const std::u16string_view one(wide.data() + i, pair ? 2 : 1);
        std::string bytes = platform::encodeCp932(one);
        // Escaped raw bytes (invalid UTF-8) come back as themselves; a character without a
        // code comes back as '?'.
        if (!pair && bytes != "?") {
            out += bytes;
            continue;
        }
        const char32_t code =
            pair ? 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (wide[i + 1] - 0xDC00)
                 : u;
        out += "&#" + std::to_string(static_cast<unsigned long>(code)) + ";";
        ++lostCount_;
        if (examples_.size() < kExamples && !lostHere)
            examples_.push_back(platform::utf16ToUtf8(one) + " (" + std::string(value) + ")");
        lostHere = true;
        if (pair) ++i;
    }
    return out;
}

}  // namespace tarnbook::workshopimport
