// Line conversion on arbitrary bytes: no crash, no read outside the line, a result that never
// grows and never holds a NUL, and the same result as the plain model of the rules.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "../tests/authoring/sjis/ReferenceConvert.h"
#include "authoring/SjisConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exactly sized copy, so that a read past the line's end hits the sanitizer.
    std::unique_ptr<char[]> line(new char[size]);
    if (size > 0) std::memcpy(line.get(), data, size);
    const std::string_view in(line.get(), size);

    const std::string out = tarnbook::authoring::convertLineToSjis(in);
    if (out.size() > size) std::abort();
    if (out.find('\0') != std::string::npos) std::abort();
    // The same result as the plain byte-by-byte model of the rules.
    if (out != tarnbook::testing::referenceConvertLineToSjis(in)) std::abort();

    // The appending form is the same conversion and leaves what was there alone.
    std::string appended = "prefix";
    tarnbook::authoring::appendLineToSjis(in, appended);
    if (appended != "prefix" + out) std::abort();

    // Whole texts split into lines the same way, each line ending with CR LF.
    const std::string text = tarnbook::authoring::convertTextToSjis(in);
    if (text.size() > 2 * size + 2) std::abort();

    // Fed in two pieces, the streaming form gives the same text.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    std::string streamed;
    tarnbook::authoring::SjisTextConverter converter(
        [&streamed](std::string_view block) { streamed.append(block); });
    converter.feed(in.substr(0, cut));
    converter.feed(in.substr(cut));
    converter.finish();
    if (streamed != text) std::abort();
    return 0;
}
