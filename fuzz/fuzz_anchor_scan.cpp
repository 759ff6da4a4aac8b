// The anchor scans over arbitrary page bytes: no crash, no read outside a line, and for the
// link dialog at most one name per line, never holding a quote or the closing '>'.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "contents/ItemForms.h"
#include "platform/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = tarnbook::platform::splitLines(page);
    using tarnbook::contents::AnchorSearch;
    for (AnchorSearch variant :
         {AnchorSearch::NewItem, AnchorSearch::Property, AnchorSearch::PageLink}) {
        const std::vector<std::string> found = tarnbook::contents::anchorsInLines(lines, variant);
        if (variant != AnchorSearch::PageLink) continue;
        if (found.size() > lines.size()) std::abort();
        for (const std::string& name : found)
            if (name.find('"') != std::string::npos || name.find('>') != std::string::npos)
                std::abort();
    }
    return 0;
}
