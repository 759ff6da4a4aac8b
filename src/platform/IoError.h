#pragma once
#include <stdexcept>
#include <string>

namespace tarnbook::platform {

// A file-system failure (cannot create, read past the end, disk full, ...). Commands let it
// travel up to the shell, which shows its text; what was already done stays done.
class IoError : public std::runtime_error {
  public:
    explicit IoError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tarnbook::platform
