// The WinHelp project (.hpj) and contents (.cnt) readers. The folder does not exist, so every
// file they name takes the "not found" path.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "winhelp/CntFile.h"
#include "winhelp/HpjFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::winhelp;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)parseHpj(bytes, "/nonexistent-fuzz-winhelp");
    (void)parseCnt(bytes, "/nonexistent-fuzz-winhelp");
    return 0;
}
