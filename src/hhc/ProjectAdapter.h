#pragma once
#include <string>
#include <vector>

#include "hhc/HhcMessages.h"
#include "hhc/HhpFile.h"

// Turns a project written for the Workshop compiler into one that chmcmd compiles the same
// way on this system: separators, letter case of file names, defaults the Workshop compiler
// supplies, and the entries chmcmd would crash on or refuse, which are left out and reported
// as that compiler would report them.
namespace tarnbook::hhc {

struct AdaptOptions {
    std::string projectFolder;  // core path of the folder that holds the .hhp
    std::string hhpFileName;  // the .hhp's file name (the default compiled file is named after it)
};

struct AdaptedProject {
    HhpFile hhp;            // the copy for chmcmd (its "Compiled file" still the target)
    std::string targetChm;  // core path of the compiled file the author asked for
    std::string errorLog;   // core path of the error log; empty when none is named
    std::vector<std::string> listedFiles;  // entry names (UTF-8, '/') the result must contain
    std::vector<HhcMessage> messages;      // what was left out or changed, in file order
};

AdaptedProject adaptProject(const HhpFile& original, const AdaptOptions& options);

// Lexical clean-up of an absolute path: '\' and '/' both separate, "." and "x/.." go.
std::string normalizeAbsolute(const std::string& path);

}  // namespace tarnbook::hhc
