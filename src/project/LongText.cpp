#include "project/LongText.h"

#include "platform/Cp932.h"

namespace tarnbook::project {

std::pair<std::string, std::string> splitLongText(std::u16string_view text) {
    const std::string bytes = platform::encodeCp932(text);
    std::pair<std::string, std::string> halves;
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t len =
            platform::isLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2
                                                                                               : 1;
        (i < 254 ? halves.first : halves.second).append(bytes, i, len);
        i += len;
    }
    return halves;
}

std::u16string joinLongText(std::string_view first, std::string_view second) {
    std::string joined(first);
    joined.append(second);
    return platform::decodeCp932(joined);
}

}  // namespace tarnbook::project
