#include "CliCommand.h"

// Every subcommand's table entry; add one line per command.
const std::vector<CliCommand>& cliCommands() {
    static const std::vector<CliCommand> commands = {
    };
    return commands;
}
