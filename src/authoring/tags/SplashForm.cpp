#include "authoring/tags/SplashForm.h"

#include <algorithm>

#include "authoring/ResourceRegistry.h"
#include "authoring/tags/ControlTagMarkup.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::authoring {

void SplashForm::setMilliseconds(int ms) {
    milliseconds_ = std::clamp(ms, kMinMilliseconds, kMaxMilliseconds);
}

bool SplashForm::choosePicture() {
    const auto chosen = ws_.prompts.chooseOpenFile("開く", pictureFilter(), resourceFolder(ws_));
    if (!chosen || chosen->empty()) return false;
    picture_ = *chosen;
    return true;
}

bool SplashForm::okEnabled() const {
    return !picture_.empty() && platform::fileExists(picture_);
}

std::string SplashForm::accept() {
    const std::string copy = copyIntoResource(
        picture_, platform::joinPath(resourceFolder(ws_), platform::fileNamePart(picture_)));
    const std::string name = resourceRelativeName(ws_, copy);
    additionCheck(ws_, name);
    return splashTag("_RESOURCE\\" + name, milliseconds_);
}

}  // namespace tarnbook::authoring
