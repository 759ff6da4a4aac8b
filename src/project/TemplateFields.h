#pragma once
#include <array>
#include <string>
#include <string_view>

#include "platform/IniFile.h"

namespace tarnbook::project {

// The help-window toolbar buttons, in the order the dialogs list them.
inline constexpr std::array<const char*, 14> kToolbarButtonKeys = {
    "BTView", "BTBack", "BTNext",    "BTOption", "BTPrint", "BTRefresh", "BTStop",
    "BTUp",   "BTDown", "BTHomeURL", "BTFont",   "BTJump1", "BTJump2",   "BTSync"};

// The fields of a project template as the wizard and the template editor show them. Number
// fields are text, as typed; they are converted when the value is needed.
struct TemplateFields {
    std::string name = " ";
    int nodeIcon = 0;
    bool keepPos = false, topmost = false;
    std::string posX = "200", posY = "200", width = "600", height = "400", frameWidth = "200";
    bool useCss = false;
    std::string css;
    std::array<bool, kToolbarButtonKeys.size()> buttons{};
    bool fullTextSearch = false, tabSearch = false, tabFavorite = false, tabKeyword = true;
    bool edge = false, maximize = false, visible = false, binaryToc = false, oneClick = false;
    bool hideToolbar = false, hideText = false, hideFirst = false;
    bool nodeSquare = true, nodeLines = true;
    std::string fontName;
    int fontSize = 10;
    int langNum = 14;
    std::string langStr;
    std::string autoHtml, autoHead, autoIndex;
    bool convSjis = false, convKillJs = false, urlFilter = false;
    bool setCompleteDest = false;
    std::string completeDestPath;

    bool button(std::string_view key) const {
        for (std::size_t i = 0; i < kToolbarButtonKeys.size(); ++i)
            if (key == kToolbarButtonKeys[i]) return buttons[i];
        return false;
    }

    // Every field from a template section, with the defaults for missing keys.
    static TemplateFields load(const platform::IniFile& settings, const std::string& section);
    // What the template editor stores back into a template section.
    void save(platform::IniFile& settings, const std::string& section) const;
};

// The value of a number field. Throws std::invalid_argument with the standard conversion
// message when the text is empty or not a number.
int numberFieldValue(const std::string& text);

// Number fields of the wizard and the template editor take only the keys 0-9.
inline bool acceptsNumberKey(char c) {
    return c >= '0' && c <= '9';
}

// The Auto Sizer's window from the size fields and back: the window is 35 narrower and 48
// lower than the help window the fields describe.
struct AutoSizerGeometry {
    int left, top, width, height, paneWidth;
};
AutoSizerGeometry autoSizerWindowFromFields(int left, int top, int width, int height,
                                            int paneWidth);
AutoSizerGeometry fieldsFromAutoSizerWindow(const AutoSizerGeometry& window);

}  // namespace tarnbook::project
