#include "platform/Charsets.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace tarnbook::platform {

std::optional<std::string> convertToUtf8(std::string_view bytes, const char* encoding,
                                         InvalidBytes invalid) {
    iconv_t cd = iconv_open("UTF-8", encoding);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    std::vector<char> buffer(64 * 1024);
    std::vector<char> input(bytes.begin(), bytes.end());  // iconv wants a non-const pointer
    char* in = input.data();
    std::size_t inLeft = input.size();
    bool ok = true;
    while (inLeft > 0) {
        char* o = buffer.data();
        std::size_t oLeft = buffer.size();
        std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer.data(), static_cast<std::size_t>(o - buffer.data()));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // EILSEQ, or EINVAL: a sequence cut off at the end.
            if (invalid == InvalidBytes::Fail) {
                ok = false;
                break;
            }
            out += "\xEF\xBF\xBD";
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    if (ok) {
        char* o = buffer.data();
        std::size_t oLeft = buffer.size();
        if (iconv(cd, nullptr, nullptr, &o, &oLeft) == static_cast<std::size_t>(-1)) ok = false;
        out.append(buffer.data(), static_cast<std::size_t>(o - buffer.data()));
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace tarnbook::platform
