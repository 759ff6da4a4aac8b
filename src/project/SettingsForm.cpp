#include "project/SettingsForm.h"

#include "platform/Paths.h"
#include "project/ProjectLifecycle.h"
#include "project/SettingColours.h"
#include "project/Settings.h"
#include "project/Workspace.h"
#include "ui/Prompts.h"

namespace tarnbook::project {
namespace {

constexpr const char* S = kSystemSection;
constexpr unsigned kBlack = 0x000000, kWhite = 0xFFFFFF, kBlue = 0x0000FF;

std::string toolKey(int n) {
    return "Ext" + std::to_string(n);
}

void pick(std::string& field, const std::optional<std::string>& chosen) {
    if (chosen) field = *chosen;
}

}  // namespace

SettingsForm SettingsForm::load(const platform::IniFile& s) {
    SettingsForm f;
    f.projectFolder = s.readString(S, "PROJECT", " ");
    f.compiler = s.readString(S, "HHC", " ");
    f.htmlEditor = s.readString(S, "EditHTML", " ");
    f.textEditor = s.readString(S, "EditTXT", " ");
    f.templateFolder = s.readString(S, "TEMPLATE", " ");
    f.standardPage = s.readString(S, "DefHTML", " ");
    f.standardCss = s.readString(S, "DefCSS", " ");
    f.customTag = s.readString(S, "CustomTag", " ");
    f.fontName = s.readString(S, "FontName", "MS UI Gothic");
    f.fontSize = s.readInteger(S, "FontSize", 9);
    f.fontColour = s.readString(S, "FontCol", "clWindowText");
    f.backColour = s.readString(S, "BackCol", "clWhite");
    f.objectColour = s.readString(S, "ObjCol", "clBlue");
    f.colourObjectTags = s.readBool(S, "ColObjtag", true);
    f.colourAnchorTags = s.readBool(S, "ColAnchortag", false);
    f.colourLinkTags = s.readBool(S, "ColHreftag", false);
    f.prefix = s.readString(S, "Prefix", "HLP_IDH_");
    f.nodeBox = s.readBool(S, "NodeBox", false);
    f.noCompileDialog = s.readBool(S, "ViewDialog", false);
    f.rightClickRefresh = s.readBool(S, "RClickRefresh", false);
    f.resume = s.readBool(S, "Resume", false);
    f.confirmAutoHtml = s.readBool(S, "ConfirmAutoHTML", false);
    f.confirmOverwrite = s.readBool(S, "ConfirmOverWrite", false);
    f.setCompleteDest = s.readBool(S, "SetCompleteDest", false);
    f.completeDestPath = s.readString(S, "SetCompleteDestPath");
    f.captureProgram = s.readString(S, "CaptureEx", kDefaultCaptureProgram);
    f.captureCursor = s.readBool(S, "CaptureCursor", false);
    f.captureActive = s.readBool(S, "CaptureActive", true);
    for (int n = 1; n <= kExternalToolCount; ++n) {
        f.tools[n - 1].title = s.readString(S, toolKey(n) + "name");
        f.tools[n - 1].path = s.readString(S, toolKey(n));
    }
    return f;
}

void SettingsForm::setFontColour(unsigned rgb) {
    fontColour = settingColourText(rgb);
}
void SettingsForm::setBackColour(unsigned rgb) {
    backColour = settingColourText(rgb);
}
void SettingsForm::setObjectColour(unsigned rgb) {
    objectColour = settingColourText(rgb);
}
unsigned SettingsForm::fontRgb() const {
    return settingColourOr(fontColour, kBlack);
}
unsigned SettingsForm::backRgb() const {
    return settingColourOr(backColour, kWhite);
}
unsigned SettingsForm::objectRgb() const {
    return settingColourOr(objectColour, kBlue);
}

void SettingsForm::browseProjectFolder(ui::Prompts& p) {
    pick(projectFolder, p.chooseFolder("プロジェクトディレクトリの選択", projectFolder));
}

void SettingsForm::browseCompiler(ui::Prompts& p) {
    pick(compiler, p.chooseOpenFile("HTML Help コンパイラ", "", platform::folderPart(compiler)));
}

void SettingsForm::browseTemplateFolder(ui::Prompts& p) {
    pick(templateFolder, p.chooseFolder("テンプレートディレクトリの選択", templateFolder));
}

void SettingsForm::browseStandardPage(ui::Prompts& p) {
    pick(standardPage, p.chooseOpenFile("標準HTML指定", "HTML ファイル (*.html;*.htm)|*.html;*.htm",
                                        templateFolder));
}

void SettingsForm::browseCompleteDest(ui::Prompts& p) {
    if (!setCompleteDest) return;
    pick(completeDestPath, p.chooseFolder("コンパイル済みヘルプの保存先選択", completeDestPath));
}

void SettingsForm::browseTool(ui::Prompts& p, int number) {
    if (number < 1 || number > kExternalToolCount) return;
    Tool& t = tools[number - 1];
    pick(t.path, p.chooseOpenFile("外部ツール", "", platform::folderPart(t.path)));
}

SettingsForm::Applied SettingsForm::accept(Workspace& ws) const {
    platform::IniFile& s = ws.settings;
    s.writeString(S, "PROJECT", projectFolder);
    s.writeString(S, "HHC", compiler);
    s.writeString(S, "EditHTML", htmlEditor);
    s.writeString(S, "EditTXT", textEditor);
    s.writeString(S, "TEMPLATE", templateFolder);
    s.writeString(S, "DefHTML", standardPage);
    s.writeString(S, "DefCSS", standardCss);
    s.writeString(S, "CustomTag", customTag);
    s.writeString(S, "FontName", fontName);
    s.writeInteger(S, "FontSize", fontSize);
    s.writeString(S, "FontCol", fontColour);
    s.writeString(S, "BackCol", backColour);
    s.writeString(S, "ObjCol", objectColour);
    s.writeBool(S, "ColObjtag", colourObjectTags);
    s.writeBool(S, "ColAnchortag", colourAnchorTags);
    s.writeBool(S, "ColHreftag", colourLinkTags);
    s.writeString(S, "Prefix", prefix);
    s.writeBool(S, "NodeBox", nodeBox);
    s.writeBool(S, "ViewDialog", noCompileDialog);
    s.writeBool(S, "RClickRefresh", rightClickRefresh);
    s.writeBool(S, "Resume", resume);
    s.writeBool(S, "ConfirmAutoHTML", confirmAutoHtml);
    s.writeBool(S, "ConfirmOverWrite", confirmOverwrite);
    s.writeBool(S, "SetCompleteDest", setCompleteDest);
    s.writeString(S, "SetCompleteDestPath", completeDestPath);
    s.writeString(S, "CaptureEx", captureProgram);
    s.writeBool(S, "CaptureCursor", captureCursor);
    s.writeBool(S, "CaptureActive", captureActive);
    for (int n = 1; n <= kExternalToolCount; ++n) {
        const Tool& t = tools[n - 1];
        s.writeString(S, toolKey(n) + "name", t.title);
        if (!t.path.empty()) s.writeString(S, toolKey(n), t.path);
    }

    if (ws.hasProject()) {
        const bool modified = ws.editor.modified();
        ws.editor.setFont(fontName, fontSize, fontRgb());
        ws.editor.setBackground(backRgb());
        ws.editor.setModified(modified);
    }
    writeSettings(ws);

    Applied a;
    a.nodeBox = nodeBox;
    a.rightClickRefresh = rightClickRefresh;
    a.captureActive = captureActive;
    a.captureCursor = captureCursor;
    a.rehighlightSelectedPage = ws.hasProject() && !ws.tree.selectedNodes().empty();
    a.tools = externalTools(s);
    return a;
}

}  // namespace tarnbook::project
