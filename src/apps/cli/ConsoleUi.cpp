#include "ConsoleUi.h"

#include <unistd.h>

namespace {
bool progressWanted = true;
}  // namespace

void setConsoleProgressWanted(bool wanted) {
    progressWanted = wanted;
}

bool consoleProgressShown() {
    return progressWanted && isatty(STDERR_FILENO);
}

void ConsoleStatus::draw(int percent) {
    if (!consoleProgressShown() || percent == lastDrawn_) return;
    lastDrawn_ = percent;
    const int width = 40;
    const int filled = percent * width / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", caption_.c_str(),
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(width - filled), ' ').c_str(), percent);
    if (percent >= 100) std::fprintf(stderr, "\n");
}

void ConsoleStatus::setProgress(int percent) {
    if (caption_.empty()) caption_ = "build";
    draw(percent < 0 ? 0 : (percent > 100 ? 100 : percent));
}

void ConsoleStatus::beginProgressWindow(const std::string& caption, int maximum) {
    caption_ = caption;
    maximum_ = maximum;
    lastDrawn_ = -1;
}

void ConsoleStatus::setProgressWindowPosition(int position) {
    if (maximum_ > 0) draw(position * 100 / maximum_);
}

void ConsoleStatus::endProgressWindow() {
    if (lastDrawn_ >= 0 && lastDrawn_ < 100) std::fprintf(stderr, "\n");
    lastDrawn_ = -1;
}
