#include "platform/CodePages.h"

#include <iconv.h>

#include <array>
#include <map>
#include <mutex>

#include "platform/Cp932.h"

namespace tarnbook::platform {

std::optional<int> codePageOfCharset(int charset) {
    static const std::map<int, int> kCodePages = {
        {0, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
        {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
        {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 437},
    };
    auto it = kCodePages.find(charset);
    if (it == kCodePages.end()) return std::nullopt;
    return it->second;
}

int codePageOfLanguage(std::uint32_t languageId) {
    const int primary = static_cast<int>(languageId) & 0x3FF;
    const int sub = (static_cast<int>(languageId) >> 10) & 0x3F;
    switch (primary) {
        case 0x11:
            return 932;
        case 0x12:
            return 949;
        case 0x04:
            return sub == 2 || sub == 4 ? 936 : 950;
        case 0x19:
        case 0x22:
        case 0x23:
        case 0x02:
            return 1251;
        case 0x08:
            return 1253;
        case 0x1F:
            return 1254;
        case 0x0D:
            return 1255;
        case 0x01:
            return 1256;
        case 0x1E:
            return 874;
        case 0x05:
        case 0x15:
        case 0x0E:
        case 0x1B:
        case 0x24:
        case 0x1A:
            return 1250;
        default:
            return 1252;
    }
}

namespace {

std::string iconvName(int codePage) {
    switch (codePage) {
        case 10000:
            return "MACINTOSH";
        case 437:
            return "CP437";
        case 1361:
            return "JOHAB";
        default:
            return "CP" + std::to_string(codePage);
    }
}

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One converter per code page, opened on first use and kept until the program ends
// (documents switch code pages per run of text).
class Converters {
  public:
    ~Converters() {
        for (auto& [codePage, cd] : open_)
            if (cd != kNoConverter) iconv_close(cd);
    }
    iconv_t get(int codePage) {
        auto it = open_.find(codePage);
        if (it != open_.end()) return it->second;
        iconv_t cd = iconv_open("UTF-16LE", iconvName(codePage).c_str());
        open_.emplace(codePage, cd);
        return cd;
    }
    std::mutex lock;

  private:
    std::map<int, iconv_t> open_;
};

}  // namespace

std::optional<std::u16string> decodeCodePage(std::string_view bytes, int codePage) {
    if (codePage == 932) return decodeCp932(bytes);
    static Converters converters;
    std::lock_guard<std::mutex> guard(converters.lock);
    iconv_t cd = converters.get(codePage);
    if (cd == kNoConverter) return std::nullopt;
    std::u16string out;
    out.reserve(bytes.size());
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Convert as much as possible; an undefined or cut-off sequence costs one byte.
        std::array<char, 4096> buf;
        char* ip = const_cast<char*>(bytes.data() + i);
        std::size_t il = bytes.size() - i;
        char* op = buf.data();
        std::size_t ol = buf.size();
        const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
        const std::size_t produced = static_cast<std::size_t>(op - buf.data());
        for (std::size_t k = 0; k + 1 < produced; k += 2)
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buf[k]) |
                                                (static_cast<unsigned char>(buf[k + 1]) << 8)));
        const std::size_t consumed = bytes.size() - i - il;
        i += consumed;
        if (r == static_cast<std::size_t>(-1) && consumed == 0 && produced == 0) {
            out.push_back(u'\uFFFD');
            ++i;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

}  // namespace tarnbook::platform
