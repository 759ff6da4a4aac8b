#include "viewer/ViewerArguments.h"

#include <stdexcept>

#include "chm/SystemFiles.h"

namespace tarnbook::viewer {

ViewerArguments parseViewerArguments(const std::vector<std::string>& args) {
    ViewerArguments out;
    std::vector<std::string> rest;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            rest.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            out.help = true;
        } else if (a == "--version") {
            out.version = true;
        } else if (a == "--index") {
            out.index = true;
        } else if (a == "--context" || a.starts_with("--context=")) {
            std::string value;
            if (a == "--context") {
                if (i + 1 == args.size()) throw std::invalid_argument("--context needs a number");
                value = args[++i];
            } else {
                value = a.substr(10);
            }
            const auto n = chm::parseProjectNumber(value);
            if (!n) throw std::invalid_argument("--context needs a number, not \"" + value + "\"");
            out.context = *n;
        } else {
            throw std::invalid_argument("unknown option " + a);
        }
    }
    if (out.help || out.version) return out;
    if (rest.empty()) throw std::invalid_argument("no compiled help file given");
    if (rest.size() > 2) throw std::invalid_argument("too many arguments");
    out.file = rest[0];
    if (rest.size() == 2) out.topic = rest[1];
    if (out.context && !out.topic.empty())
        throw std::invalid_argument("give either --context or a topic, not both");
    return out;
}

}  // namespace tarnbook::viewer
