#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The viewer's command line: tarnbook-view [--context N | --index] FILE.chm [TOPIC].
namespace tarnbook::viewer {

struct ViewerArguments {
    bool help = false;
    bool version = false;
    std::string file;                      // as given (UTF-8)
    std::string topic;                     // a page path inside the file, as given
    std::optional<std::uint32_t> context;  // --context N: decimal or 0x hexadecimal
    bool index = false;                    // --index: open on the keyword index
};

// Throws std::invalid_argument with a message for the user.
ViewerArguments parseViewerArguments(const std::vector<std::string>& args);

}  // namespace tarnbook::viewer
