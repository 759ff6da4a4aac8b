// Decompiling a damaged compiled help file: the directory walk and the extraction run in a
// child process, which may crash or stall on a hostile file; this process must get a clear
// result, the counts must match what is on disk, and nothing may land outside the folder.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "compile/DecompileIsolated.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path root = [] {
        std::string t = (fs::temp_directory_path() / "tarnbook-fuzz-decompile-XXXXXX").string();
        if (!::mkdtemp(t.data())) std::abort();
        return fs::path(t);
    }();
    fs::remove_all(root / "out");
    const fs::path input = root / "input.chm";
    {
        std::FILE* f = std::fopen(input.c_str(), "wb");
        if (!f) std::abort();
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    using namespace tarnbook::compile;
    DecompileOptions options;
    options.includeInternal = size % 2 == 1;
    const DecompileResult r = decompileIsolated(input.string(), (root / "out").string(), {},
                                                options, {std::chrono::seconds(5), 0});
    if (!r.opened && r.error.empty()) __builtin_trap();
    std::size_t written = 0;
    if (fs::exists(root / "out"))
        for (const auto& e : fs::recursive_directory_iterator(root / "out"))
            if (e.is_regular_file()) ++written;
    if (written != r.filesWritten) __builtin_trap();
    for (const auto& e : fs::directory_iterator(root))
        if (e.path() != input && e.path() != root / "out") __builtin_trap();
    return 0;
}
