#pragma once
#include <string>

#include "platform/IniFile.h"
#include "project/Settings.h"
#include "support/TempDir.h"

namespace tarnbook::testing {

// A first-start environment rooted in `appFolder`, copying the templates of the source tree.
inline project::FirstStartEnvironment testEnvironment(const std::string& appFolder) {
    project::FirstStartEnvironment env;
    env.appFolder = appFolder;
    env.compiler = "/opt/test/tarnbook-hhc";
    env.editor = "test-editor";
    env.templateSource = std::string(TARNBOOK_SOURCE_DIR) + "/data/template";
    return env;
}

inline platform::IniFile readIni(const std::string& path) {
    return platform::IniFile::load(path);
}

}  // namespace tarnbook::testing
