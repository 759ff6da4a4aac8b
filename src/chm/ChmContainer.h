#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chm/LzxCompressor.h"

// The compiled-help container (ITSF): headers, the directory of listing (PMGL) and index
// (PMGI) chunks for any number of entries, content section 0 stored as is and section 1
// compressed with LZX, with the control data, reset table, span and transform entries in the
// layout of the Workshop compiler.
namespace tarnbook::chm {

struct ChmFile {
    std::string name;  // UTF-8, starting with '/', e.g. "/#SYSTEM" or "/images/a.gif"
    std::string data;
    bool compressed = true;  // section 1; false puts the file in section 0
};

struct ChmContainerOptions {
    std::uint32_t languageId = 0x409;  // of the help, recorded in the file header
    std::uint32_t timestamp = 0;
    LzxOptions lzx;
};

// Lays out the container. Throws std::invalid_argument for a name that is empty, does not
// start with '/', ends with '/' or repeats another name without regard to letter case.
std::string buildChmContainer(const std::vector<ChmFile>& files,
                              const ChmContainerOptions& options = {});

// The order of the directory: byte-wise after folding ASCII letters to lower case.
bool chmNameLess(const std::string& a, const std::string& b);

}  // namespace tarnbook::chm
