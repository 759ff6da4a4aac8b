#pragma once
#include <optional>
#include <string>

#include "platform/IniFile.h"

namespace tarnbook::project {

inline constexpr const char* kSettingsFileName = "Quillet.INI";
inline constexpr const char* kSystemSection = "SYSTEM";
inline constexpr int kSettingsVersion = 249;
// Opens a screen capture when CaptureEx is not set: the desktop's image viewer/editor.
inline constexpr const char* kDefaultCaptureProgram = "xdg-open";

// The settings file of the app folder.
std::string settingsFilePath(const std::string& appFolder);

// What the first start writes that depends on this machine. detect() looks at the real
// system; tests fill the fields themselves.
struct FirstStartEnvironment {
    std::string appFolder;       // holds PROJECT, TEMPLATE and the settings file
    std::string compiler;        // HHC
    std::string editor;          // EditHTML and EditTXT
    std::string templateSource;  // folder the TEMPLATE files are copied from ("" = none)

    static FirstStartEnvironment detect(const std::string& appFolder);
};

// The help compiler driver for the first-start settings: beside the program, in the build
// tree, on PATH, else the bare name.
std::string detectCompiler(const std::string& programFolder);
// The compiler the HHC setting names, found the same way by the window and the command line:
// an existing file as set; a bare program name on PATH; no setting or the driver's own name
// (wherever it was once stored) the driver as detectCompiler finds it. A setting that names
// no file comes back unchanged, so the build can say so.
std::string resolveCompiler(const std::string& setting, const std::string& programFolder);
// The first of a few well-known text editors found on PATH, else "xdg-open".
std::string detectEditor();
// The installed template folder, or the one of the source tree when running from a build.
std::string installedTemplateFolder();

// The five files that come with the program in TEMPLATE.
inline constexpr const char* kTemplateFiles[] = {"Default.HTML", "Default.CSS", "NotFound.HTML",
                                                 "Remote.HTML", "log.css"};

// Copies the template files that TEMPLATE lacks from `source`; files already there stay.
// Returns the number copied.
int seedTemplateFolder(const std::string& templateFolder, const std::string& source);

// Writes the FilterImport / FilterFolder first-start keys for each section that is missing.
// Returns true when something was written.
bool writeMissingFilterSections(platform::IniFile& settings);

// The first project template (TEMPLATE, TEMPLATE1).
void writeFirstStartTemplates(platform::IniFile& settings, const std::string& templateFolder);

// Settings preparation common to every start: filter sections, first-start values when
// SYSTEM is missing (creates PROJECT and TEMPLATE, writes the file), then Version.
// Returns true when this was a first start. The settings must carry their file path.
struct PrepareResult {
    bool firstStart = false;
    bool changed = false;  // anything written to the in-memory object
};
PrepareResult prepareSettings(platform::IniFile& settings, const FirstStartEnvironment& env);

// Loads `appFolder`/Quillet.INI into a settings object that knows its path.
platform::IniFile loadSettingsFile(const std::string& appFolder);

// For programs without a window: loads the settings of `env.appFolder`, prepares them and
// writes the file when anything changed.
PrepareResult prepareAppFolder(const FirstStartEnvironment& env);

// Preview text size (BaseFSize): 1-4 name a menu item; any other value marks none but is
// kept as it is and written back unchanged.
inline constexpr int kDefaultPreviewTextSize = 3;
inline std::optional<int> textSizeMenuItem(int baseFSize) {
    if (baseFSize >= 1 && baseFSize <= 4) return baseFSize;
    return std::nullopt;
}

}  // namespace tarnbook::project
