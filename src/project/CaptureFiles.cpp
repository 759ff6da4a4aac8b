#include "project/CaptureFiles.h"

#include <cstdio>
#include <stdexcept>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"

namespace tarnbook::project {

namespace {
constexpr int kLastCaptureNumber = 9999;
}

std::string nextCaptureFile(const std::string& folder) {
    for (int n = 1; n <= kLastCaptureNumber; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "Capture%04d.bmp", n);
        std::string path = platform::joinPath(folder, name);
        if (!platform::pathExists(path)) return path;
    }
    throw std::runtime_error(
        "キャプチャ画像の番号がすべて使われています。不要な Capture*.bmp を削除して下さい。");
}

bool openCapture(const std::string& file, const std::string& captureProgram) {
    // A blank or foreign name (such as a Windows program from an older settings file) is not
    // an error: the desktop's viewer opens the picture instead.
    if (!platform::findExecutable(captureProgram).empty())
        return platform::startDetached(captureProgram, {file});
    return platform::openWithDefaultProgram(file);
}

}  // namespace tarnbook::project
