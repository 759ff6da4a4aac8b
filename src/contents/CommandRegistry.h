#pragma once
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "contents/CommandTable.h"

namespace tarnbook::contents {

// The command table with its handlers: each area of the window binds the commands it owns,
// and running a command goes through here. An id the table does not know, or binding one
// twice, is a programming error and throws std::logic_error, so tests catch it at once.
class CommandRegistry {
  public:
    using Handler = std::function<void()>;

    void bind(std::string_view id, Handler handler);
    bool isBound(std::string_view id) const;
    // Runs the handler; throws std::logic_error for an unknown or unbound id.
    void run(std::string_view id) const;
    // Whether the command's rule allows it in this state (the table's one rule set).
    static bool enabled(std::string_view id, const EnableState& state);

    // Table commands that no area has bound yet, in table order.
    std::vector<std::string_view> unbound() const;

  private:
    static const Command& known(std::string_view id);
    std::map<std::string, Handler, std::less<>> handlers_;
};

}  // namespace tarnbook::contents
