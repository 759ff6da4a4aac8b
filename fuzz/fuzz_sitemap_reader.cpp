// The tolerant sitemap reader meets any bytes: contents and index files of foreign projects.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sitemap/SitemapReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::sitemap;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Sitemap a = readSitemap(bytes, TextForm::Utf8);
    const Sitemap b = readSitemap(bytes, TextForm::Cp932);
    // Structure does not depend on how values are decoded.
    if (a.countEntries() != b.countEntries()) __builtin_trap();
    return 0;
}
