// chm_check FILE.chm [FOLDER]: reads every entry of a compiled help with libmspack and with
// chmlib; with FOLDER, every entry that is a file there must hold the same bytes. Prints
// one line per entry and exits with 1 at the first reader error or difference.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ChmReaders.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: chm_check FILE.chm [FOLDER]\n");
        return 2;
    }
    namespace fs = std::filesystem;
    int failures = 0;
    const auto mspack = tarnbook::chmtest::readWithMspack(argv[1]);
    const auto chmlib = tarnbook::chmtest::readWithChmlib(argv[1]);
    for (const auto* r : {&mspack, &chmlib}) {
        if (!r->error.empty()) {
            std::printf("ERROR %s\n", r->error.c_str());
            ++failures;
        }
    }
    for (const auto& [name, data] : mspack.entries) {
        auto other = chmlib.entries.find(name);
        const bool same = other != chmlib.entries.end() && other->second == data;
        std::string verdict = same ? "ok" : "readers differ";
        if (argc == 3 && name.size() > 1 && name[0] == '/' && name[1] != '#' && name[1] != '$') {
            const fs::path disk = fs::path(argv[2]) / name.substr(1);
            if (fs::is_regular_file(disk)) {
                std::ifstream in(disk, std::ios::binary);
                std::ostringstream s;
                s << in.rdbuf();
                if (s.str() != data) verdict = "differs from the file";
            }
        }
        if (verdict != "ok") ++failures;
        std::printf("%-6s %10zu %s\n", verdict == "ok" ? "ok" : "FAIL", data.size(), name.c_str());
    }
    return failures ? 1 : 0;
}
