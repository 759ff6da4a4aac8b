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
