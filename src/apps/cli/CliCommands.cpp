#include <algorithm>
#include <cstring>

#include "CliCommand.h"

namespace {
std::vector<CliCommand>& registry() {
    static std::vector<CliCommand> commands;
    return commands;
}
}  // namespace

CliRegistration::CliRegistration(const CliCommand& command) {
    registry().push_back(command);
}

std::vector<CliCommand> cliCommands() {
    auto commands = registry();
    std::sort(commands.begin(), commands.end(), [](const CliCommand& a, const CliCommand& b) {
        return std::strcmp(a.name, b.name) < 0;
    });
    return commands;
}
