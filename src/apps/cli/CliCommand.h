#pragma once
#include <string>
#include <vector>

// One subcommand of tarnbook-cli. Each lives in its own file cmd_<name>.cpp and registers
// itself with a static CliRegistration.
struct CliCommand {
    const char* name;
    const char* usage;    // arguments after the name, e.g. "PROJECT.XHP"
    const char* summary;  // one line for --help
    int (*run)(const std::vector<std::string>& args);  // args after the name; returns exit code
};

// The registered commands, sorted by name.
std::vector<CliCommand> cliCommands();

struct CliRegistration {
    explicit CliRegistration(const CliCommand& command);
};
