#pragma once
#include <string>
#include <vector>

// One subcommand of tarnbook-cli. Each lives in its own file and is listed in CliCommands.cpp.
struct CliCommand {
    const char* name;
    const char* usage;    // arguments after the name, e.g. "PROJECT.XHP"
    const char* summary;  // one line for --help
    int (*run)(const std::vector<std::string>& args);  // args after the name; returns exit code
};

const std::vector<CliCommand>& cliCommands();
