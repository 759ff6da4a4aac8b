#pragma once
#include <string>

namespace tarnbook::project {

// The next free numbered name for a screen capture in `folder`: Capture0001.bmp,
// Capture0002.bmp, ... Throws std::runtime_error when every number is taken.
std::string nextCaptureFile(const std::string& folder);

// Opens a saved capture with the program named by CaptureEx; when that program cannot be
// found on this system (or none is named), with the desktop's default viewer. False when
// nothing could be started.
bool openCapture(const std::string& file, const std::string& captureProgram);

}  // namespace tarnbook::project
