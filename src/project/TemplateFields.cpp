#include "project/TemplateFields.h"

#include <stdexcept>

namespace tarnbook::project {

TemplateFields TemplateFields::load(const platform::IniFile& ini, const std::string& s) {
    TemplateFields f;
    f.name = ini.readString(s, "Name", " ");
    f.nodeIcon = ini.readInteger(s, "NodeIcon", 0);
    f.keepPos = ini.readBool(s, "KeepPos", false);
    f.topmost = ini.readBool(s, "Topmost", false);
    f.posX = std::to_string(ini.readInteger(s, "PosX", 200));
    f.posY = std::to_string(ini.readInteger(s, "PosY", 200));
    f.width = std::to_string(ini.readInteger(s, "PosW", 600));
    f.height = std::to_string(ini.readInteger(s, "PosH", 400));
    f.frameWidth = std::to_string(ini.readInteger(s, "FrameWidth", 200));
    f.useCss = ini.readBool(s, "UseCSS", false);
    f.css = ini.readString(s, "CSS");
    for (std::size_t i = 0; i < kToolbarButtonKeys.size(); ++i)
        f.buttons[i] = ini.readBool(s, kToolbarButtonKeys[i], false);
    f.fullTextSearch = ini.readBool(s, "FullTextSearch", false);
    f.tabSearch = ini.readBool(s, "TabSearch", false);
    f.tabFavorite = ini.readBool(s, "TabFavorite", false);
    f.tabKeyword = ini.readBool(s, "TabKeyword", true);
    f.edge = ini.readBool(s, "Edge", false);
    f.maximize = ini.readBool(s, "Maximize", false);
    f.visible = ini.readBool(s, "Visible", false);
    f.binaryToc = ini.readBool(s, "BToc", false);
    f.oneClick = ini.readBool(s, "OneClick", false);
    f.hideToolbar = ini.readBool(s, "HideTB", false);
    f.hideText = ini.readBool(s, "HideTxt", false);
    f.hideFirst = ini.readBool(s, "HideFirst", false);
    f.nodeSquare = ini.readBool(s, "NodeSquare", true);
    f.nodeLines = ini.readBool(s, "NodeLines", true);
    f.fontName = ini.readString(s, "FontName");
    f.fontSize = ini.readInteger(s, "FontSize", 10);
    f.langNum = ini.readInteger(s, "LangNum", 14);
    f.langStr = ini.readString(s, "LangStr");
    f.autoHtml = ini.readString(s, "AutoHTML");
    f.autoHead = ini.readString(s, "AutoHEAD");
    f.autoIndex = ini.readString(s, "AutoIndex");
    f.convSjis = ini.readBool(s, "ConvSJIS", false);
    f.convKillJs = ini.readBool(s, "ConvKillJS", false);
    f.urlFilter = ini.readBool(s, "URLFilter", false);
    f.setCompleteDest = ini.readBool(s, "SetCompleteDestOW", false);
    f.completeDestPath = ini.readString(s, "SetCompleteDestPathOW");
    return f;
}

void TemplateFields::save(platform::IniFile& ini, const std::string& s) const {
    ini.writeString(s, "Name", name);
    ini.writeInteger(s, "NodeIcon", nodeIcon);
    ini.writeBool(s, "KeepPos", keepPos);
    ini.writeBool(s, "Topmost", topmost);
    ini.writeBool(s, "UseCSS", useCss);
    ini.writeString(s, "CSS", css);
    ini.writeInteger(s, "PosX", numberFieldValue(posX));
    ini.writeInteger(s, "PosY", numberFieldValue(posY));
    ini.writeInteger(s, "PosW", numberFieldValue(width));
    ini.writeInteger(s, "PosH", numberFieldValue(height));
    ini.writeInteger(s, "FrameWidth", numberFieldValue(frameWidth));
    for (std::size_t i = 0; i < kToolbarButtonKeys.size(); ++i)
        ini.writeBool(s, kToolbarButtonKeys[i], buttons[i]);
    ini.writeBool(s, "BToc", binaryToc);
    ini.writeBool(s, "TabSearch", tabSearch);
    ini.writeBool(s, "FullTextsearch", fullTextSearch);
    ini.writeBool(s, "TabFavorite", tabFavorite);
    ini.writeBool(s, "TabKeyword", tabKeyword);
    ini.writeBool(s, "Edge", edge);
    ini.writeBool(s, "Maximize", maximize);
    ini.writeBool(s, "Visible", visible);
    ini.writeBool(s, "NodeSquare", nodeSquare);
    ini.writeBool(s, "NodeLines", nodeLines);
    ini.writeBool(s, "Oneclick", oneClick);
    ini.writeBool(s, "HideTB", hideToolbar);
    ini.writeBool(s, "HideTxt", hideText);
    ini.writeString(s, "FontName", fontName);
    ini.writeInteger(s, "FontSize", fontSize);
    ini.writeBool(s, "HideFirst", hideFirst);
    ini.writeInteger(s, "LangNum", langNum);
    ini.writeString(s, "LangStr", langStr);
    ini.writeString(s, "AutoHTML", autoHtml);
    ini.writeString(s, "AutoIndex", autoIndex);
    ini.writeString(s, "AutoHEAD", autoHead);
    ini.writeBool(s, "ConvSJIS", convSjis);
    ini.writeBool(s, "ConvKillJS", convKillJs);
}

int numberFieldValue(const std::string& text) {
    long long v = 0;
    if (text.empty() || !platform::IniFile::parseInteger(text, &v))
        throw std::invalid_argument("'" + text + "' は有効な整数値ではありません");
    return static_cast<int>(v);
}

AutoSizerGeometry autoSizerWindowFromFields(int left, int top, int width, int height,
                                            int paneWidth) {
    return {left, top, width - 35, height - 48, paneWidth};
}

AutoSizerGeometry fieldsFromAutoSizerWindow(const AutoSizerGeometry& w) {
    return {w.left, w.top, w.width + 35, w.height + 48, w.paneWidth};
}

}  // namespace tarnbook::project
