#pragma once
#include <array>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "project/ExternalTools.h"

namespace tarnbook::ui {
class Prompts;
}

namespace tarnbook::project {

class Workspace;

// The settings dialog without its widgets: the fields (all in SYSTEM), their values for
// missing keys, the choosers and what OK writes and applies. Texts are CP932 as stored.
class SettingsForm {
  public:
    struct Tool {
        std::string title;  // Ext<n>name
        std::string path;   // Ext<n>
    };

    // Base page.
    std::string projectFolder;  // PROJECT
    std::string compiler;       // HHC
    std::string htmlEditor;     // EditHTML
    std::string textEditor;     // EditTXT
    // Behaviour 1.
    std::string templateFolder;  // TEMPLATE
    std::string standardPage;    // DefHTML
    std::string standardCss;     // DefCSS
    std::string customTag;       // CustomTag
    // Behaviour 2: the editor's look and the tag colouring.
    std::string fontName;
    int fontSize = 9;
    std::string fontColour;    // FontCol, as stored ("clWindowText", "$00BBGGRR", ...)
    std::string backColour;    // BackCol
    std::string objectColour;  // ObjCol
    bool colourObjectTags = true;
    bool colourAnchorTags = false;
    bool colourLinkTags = false;
    // Behaviour 3.
    std::string prefix;
    bool nodeBox = false;
    bool noCompileDialog = false;  // ViewDialog
    bool rightClickRefresh = false;
    bool resume = false;
    bool confirmAutoHtml = false;
    bool confirmOverwrite = false;
    bool setCompleteDest = false;
    std::string completeDestPath;
    // Screen capture.
    std::string captureProgram;  // CaptureEx
    bool captureCursor = false;
    bool captureActive = true;  // the whole desktop
    // External tools 1-3.
    std::array<Tool, kExternalToolCount> tools{};

    // The fields from the settings, with the dialog's values for missing keys.
    static SettingsForm load(const platform::IniFile& settings);

    // The destination folder field and its button follow the check box.
    bool completeDestEnabled() const { return setCompleteDest; }

    // Colour choices (0xRRGGBB), stored by name where the colour has one.
    void setFontColour(unsigned rgb);
    void setBackColour(unsigned rgb);
    void setObjectColour(unsigned rgb);
    // The sample: text colour, background, object-tag colour as 0xRRGGBB.
    unsigned fontRgb() const;
    unsigned backRgb() const;
    unsigned objectRgb() const;

    // The choosers; a cancelled chooser leaves the field as it was.
    void browseProjectFolder(ui::Prompts& prompts);
    void browseCompiler(ui::Prompts& prompts);
    void browseTemplateFolder(ui::Prompts& prompts);
    void browseStandardPage(ui::Prompts& prompts);
    void browseCompleteDest(ui::Prompts& prompts);
    void browseTool(ui::Prompts& prompts, int number);

    // What OK leaves for the shell to apply to its own controls.
    struct Applied {
        bool nodeBox = false;
        bool rightClickRefresh = false;
        bool captureActive = true;
        bool captureCursor = false;
        bool rehighlightSelectedPage = false;  // a node is selected: re-read its page's tags
        std::vector<ExternalTool> tools;       // the rebuilt tools menu
    };
    // OK: writes every key (a tool's path only when its field is not empty, so clearing it
    // keeps the old one), gives an open project's editor the new font without touching its
    // modified flag, and writes the settings file.
    Applied accept(Workspace& ws) const;
};

}  // namespace tarnbook::project
