#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Paths.h"

// The command line as the three programs share it: options first (--home DIR, --help,
// --version, --quiet), then the program's own arguments. Arguments arrive in the terminal's
// encoding (UTF-8).
namespace tarnbook::platform {

struct ProgramArguments {
    std::optional<NativePath> home;  // --home DIR, absolute and normalised
    bool help = false;               // --help or -h
    bool version = false;            // --version: print the program and version, do nothing else
    bool quiet = false;              // --quiet or -q: no progress display
    std::vector<std::string> rest;   // everything after the options, as given
};

// Throws std::invalid_argument with a message for the user ("--home needs a folder").
ProgramArguments parseProgramArguments(const std::vector<std::string>& args);

// The core (CP932) form of a path given on the command line, made absolute against the
// working folder, so that stored paths (the project, the recent list) mean the same place
// from anywhere.
std::string coreArgumentPath(std::string_view utf8Path);

}  // namespace tarnbook::platform
