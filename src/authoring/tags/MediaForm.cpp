#include "authoring/tags/MediaForm.h"

#include <algorithm>

#include "authoring/ResourceRegistry.h"
#include "authoring/tags/MediaTagMarkup.h"
#include "authoring/tags/TagFiles.h"
#include "platform/Files.h"

namespace tarnbook::authoring {

namespace {

std::string digitsOf(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c >= '0' && c <= '9') out.push_back(c);
    return out;
}

int numberOf(const std::string& digits) {
    constexpr int kMax = 99999;
    int n = 0;
    for (char c : digits) {
        n = n * 10 + (c - '0');
        if (n > kMax) return kMax;
    }
    return n;
}

}  // namespace

const MediaKindTexts& mediaKindTexts(MediaKind kind) {
    static const MediaKindTexts sound{
        "サウンドタグ挿入", "サウンドファイル",
        "サウンドファイル (*.wav;*.au;*.mid;*.aif)|*.wav;*.au;*.mid;*.aif"};
    static const MediaKindTexts flash{"Flashタグ挿入", "Flashムービー",
                                      "Flashムービー (*.swf)|*.swf"};
    static const MediaKindTexts director{"Directorムービータグ挿入", "Directorムービー",
                                         "Directorムービー (*.dcr)|*.dcr"};
    switch (kind) {
        case MediaKind::Sound:
            return sound;
        case MediaKind::Flash:
            return flash;
        case MediaKind::Director:
            break;
    }
    return director;
}

bool MediaForm::chooseFile() {
    const auto chosen =
        ws_.prompts.chooseOpenFile("開く", mediaKindTexts(kind_).filter, resourceFolder(ws_));
    if (!chosen || chosen->empty()) return false;
    file_ = *chosen;
    return true;
}

void MediaForm::setVolume(int volume) {
    volume_ = std::clamp(volume, 0, kMaxVolume);
}

void MediaForm::setWidth(std::string_view text) {
    width_ = digitsOf(text);
}

void MediaForm::setHeight(std::string_view text) {
    height_ = digitsOf(text);
}

int MediaForm::widthNumber() const {
    return numberOf(width_);
}

int MediaForm::heightNumber() const {
    return numberOf(height_);
}

bool MediaForm::okEnabled() const {
    // A typed path counts as the file, so it has to name one.
    if (file_.empty() || !platform::fileExists(file_)) return false;
    return !hasSize() || (!width_.empty() && !height_.empty());
}

std::string MediaForm::accept() {
    switch (kind_) {
        case MediaKind::Sound:
            return soundTag(bringIntoResourceFolder(ws_, file_), volume_);
        case MediaKind::Flash:
            return flashTag(bringIntoResourceFolder(ws_, file_), width_, height_);
        case MediaKind::Director:
            break;
    }
    return directorTag(copyUnlessPresent(file_, ws_.projectFolder()), width_, height_);
}

}  // namespace tarnbook::authoring
