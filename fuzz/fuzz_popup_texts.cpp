// Text-popup file reader: whatever the bytes, the texts read, written back as a popup file and
// read again, must be the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "viewer/PopupTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto texts = tarnbook::viewer::PopupTexts::parse(input);
    std::string again;
    for (const auto& [id, text] : texts.all())
        again += ".topic " + std::to_string(id) + "\r\n" + text + "\r\n\r\n";
    if (tarnbook::viewer::PopupTexts::parse(again).all() != texts.all()) std::abort();
    return 0;
}
