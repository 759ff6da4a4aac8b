#include "contents/CommandRegistry.h"

#include <stdexcept>

namespace tarnbook::contents {

const Command& CommandRegistry::known(std::string_view id) {
    const Command* c = findCommand(id);
    if (!c) throw std::logic_error("unknown command id: " + std::string(id));
    return *c;
}

void CommandRegistry::bind(std::string_view id, Handler handler) {
    known(id);
    if (!handler) throw std::logic_error("empty handler for command: " + std::string(id));
    if (!handlers_.emplace(std::string(id), std::move(handler)).second)
        throw std::logic_error("command bound twice: " + std::string(id));
}

bool CommandRegistry::isBound(std::string_view id) const {
    return handlers_.find(id) != handlers_.end();
}

void CommandRegistry::run(std::string_view id) const {
    known(id);
    auto it = handlers_.find(id);
    if (it == handlers_.end()) throw std::logic_error("command has no handler: " + std::string(id));
    it->second();
}

bool CommandRegistry::enabled(std::string_view id, const EnableState& state) {
    return ruleEnabled(known(id).rule, state);
}

std::vector<std::string_view> CommandRegistry::unbound() const {
    std::vector<std::string_view> out;
    for (const Command& c : commandTable())
        if (!isBound(c.id)) out.push_back(c.id);
    return out;
}

}  // namespace tarnbook::contents
