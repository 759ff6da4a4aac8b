#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hhc/HhcMessages.h"

// The error log in the layout of the Workshop compiler, which the program's log conversion
// reads: the banner first, "Compiling <file>", the messages, then for a produced file the
// five-line block that starts with "Compile time", the "Created <file>, N bytes" line and the
// compression line after it.
namespace tarnbook::hhc {

struct CompileStats {
    std::int64_t seconds = 0;
    std::size_t topics = 0;
    std::size_t localLinks = 0;
    std::size_t internetLinks = 0;
    std::size_t graphics = 0;
    std::uint64_t sourceBytes = 0;  // the compiled files' own sizes added up
    std::uint64_t chmBytes = 0;
};

struct CompileLogData {
    std::string banner;
    std::string target;  // the compiled file's path as shown
    std::vector<HhcMessage> messages;
    std::optional<CompileStats> stats;  // only when the file was produced
};

// Lines end with CR LF.
std::string formatCompileLog(const CompileLogData& data);

// 1234567 -> "1,234,567"
std::string groupThousands(std::uint64_t value);

// Counts links of an HTML page: href/src values that name a web address (scheme://,
// mailto:) and the others (local), ignoring in-page "#..." and script links.
void countLinks(std::string_view html, std::size_t* local, std::size_t* internet);

}  // namespace tarnbook::hhc
