#pragma once
#include <string>
#include <string_view>

namespace tarnbook::platform {

// A new empty file `prefix` + hexadecimal number + `extension` in `folder`, created so that
// no existing file is ever taken over. Returns its core path. Throws IoError.
std::string makeUniqueFile(std::string_view folder, std::string_view prefix,
                           std::string_view extension);

}  // namespace tarnbook::platform
