#pragma once
#include <string>
#include <string_view>
#include <vector>

// The WinHelp contents file (.cnt): numbered levels of books and topics. Texts are the file's
// bytes; warnings are UTF-8.
namespace tarnbook::winhelp {

struct CntEntry {
    int level = 1;      // 1 = top level
    bool book = false;  // a heading without a topic of its own
    std::string title;
    std::string context;   // the topic's context ID (empty for a book)
    std::string helpFile;  // "@file.hlp": a topic of another help file
    std::string window;    // ">window"
    bool macro = false;    // "=!macro": runs a macro instead of showing a topic
};

struct CntFile {
    std::string base;   // :Base
    std::string title;  // :Title
    std::vector<CntEntry> entries;
    std::vector<std::string> warnings;
};

// Parses contents text; ":Include" files are looked up in `folder` and inserted below the
// book that precedes them.
CntFile parseCnt(std::string_view bytes, std::string_view folder);

// Reads and parses a contents file. Throws platform::IoError when it cannot be read.
CntFile readCnt(std::string_view path);

}  // namespace tarnbook::winhelp
