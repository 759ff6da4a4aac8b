#include "platform/ProgramArguments.h"

#include <filesystem>
#include <stdexcept>

namespace tarnbook::platform {

namespace {

NativePath absoluteNative(std::string_view utf8Path) {
    std::error_code ec;
    const std::filesystem::path given{std::string(utf8Path)};
    std::filesystem::path full = std::filesystem::absolute(given, ec);
    if (ec) full = given;
    return NativePath(full.lexically_normal().string());
}

}  // namespace

ProgramArguments parseProgramArguments(const std::vector<std::string>& args) {
    ProgramArguments out;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out.help = true;
        } else if (args[i] == "--version") {
            out.version = true;
        } else if (args[i] == "--quiet" || args[i] == "-q") {
            out.quiet = true;
        } else if (args[i] == "--home") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                throw std::invalid_argument("--home needs a folder");
            out.home = absoluteNative(args[++i]);
        } else {
            break;
        }
    }
    out.rest.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return out;
}

std::string coreArgumentPath(std::string_view utf8Path) {
    if (utf8Path.empty()) return {};
    return corePath(absoluteNative(utf8Path));
}

}  // namespace tarnbook::platform
