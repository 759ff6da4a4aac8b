// The tolerant sitemap reader meets any bytes: contents and index files of foreign projects,
// after the decision of their encoding; the pages they name are scanned for references.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sitemap/SitemapReader.h"
#include "sitemap/SourceEncoding.h"
#include "workshopimport/LocalPath.h"
#include "workshopimport/ResourceCopy.h"
#include "workshopimport/WorkshopFiles.h"

namespace {

bool climbs(const std::string& page) {
    return page == ".." || page.starts_with("..\\") || page.starts_with('\\');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::sitemap;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Sitemap a = readSitemap(bytes, TextForm::Utf8);
    const Sitemap b = readSitemap(bytes, TextForm::Cp932);
    // Structure does not depend on how values are decoded.
    if (a.countEntries() != b.countEntries()) __builtin_trap();

    const EncodingDecision d = decideEncoding(
        bytes, tarnbook::workshopimport::declaredCharset(bytes), parseLanguageId(bytes));
    const DecodedText text = decodeSource(bytes, d.encoding);
    const Sitemap decoded = readSitemap(text.text, text.form);
    for (const Entry& e : decoded.entries)
        for (const std::string& local : e.values("Local")) {
            const auto t = tarnbook::workshopimport::classifyLocal(local);
            // A page never climbs out of the project.
            if (t.kind == tarnbook::workshopimport::LocalTarget::Kind::Page && climbs(t.page))
                __builtin_trap();
        }
    for (const std::string& ref :
         tarnbook::workshopimport::pageReferences("a\\p.htm", std::string(bytes)))
        if (climbs(ref)) __builtin_trap();
    return 0;
}
