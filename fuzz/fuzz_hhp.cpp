// The .hhp reader, the project adapter and the mapping of chmcmd's output: all read text
// from outside. The adapter runs against a project folder that does not exist, so every
// file reference takes the "missing" path.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "hhc/HhcMessages.h"
#include "hhc/HhpFile.h"
#include "hhc/ProjectAdapter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::hhc;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const HhpFile hhp = HhpFile::parse(bytes);
    const HhpFile again = HhpFile::parse(hhp.toBytes());
    if (again.toBytes() != hhp.toBytes()) __builtin_trap();
    const AdaptedProject a = adaptProject(hhp, {"/nonexistent-fuzz-project", "fuzz.hhp"});
    (void)a.hhp.toBytes();
    (void)mapChmcmdOutput(bytes);
    return 0;
}
