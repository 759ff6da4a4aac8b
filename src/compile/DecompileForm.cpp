#include "compile/DecompileForm.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::compile {

bool DecompileForm::okEnabled() const {
    return !chmPath_.empty() && platform::fileExists(chmPath_);
}

bool DecompileForm::acceptsDrag(const std::vector<std::string>& files) {
    return !files.empty() &&
           platform::lowerCaseSjis(platform::extensionPart(files.front())) == ".chm";
}

bool DecompileForm::drop(const std::vector<std::string>& files) {
    if (!acceptsDrag(files)) return false;
    chmPath_ = files.front();
    return true;
}

}  // namespace tarnbook::compile
