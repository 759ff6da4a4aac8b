// The maintenance page scan: the attribute tokenizer and the resolution of what it finds, on
// any bytes. A resolved reference that stays inside the resource folder must never climb.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "maintenance/HtmlReferences.h"
#include "maintenance/ReferenceTarget.h"
#include "platform/Paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::maintenance;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const HtmlReference& r : htmlReferences(bytes)) {
        const ReferenceTarget t = resolveReference("sub\\deep", r.value);
        if (t.ignored || t.outside || t.kind == ReferenceKind::External) continue;
        bool escapes = false;
        const std::string again = tarnbook::platform::normalizeRelative(t.path, &escapes);
        if (escapes || again != t.path) __builtin_trap();
        (void)percentDecoded(t.path);
    }
    return 0;
}
