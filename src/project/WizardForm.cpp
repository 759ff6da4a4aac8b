#include "project/WizardForm.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "project/Languages.h"
#include "project/ProjectLifecycle.h"
#include "project/Workspace.h"

namespace tarnbook::project {

WizardForm::WizardForm(const platform::IniFile& settings) : settings_(settings) {
    const int def = settings.readInteger("TEMPLATE", "DEFAULT", 0);
    const int total = settings.readInteger("TEMPLATE", "TOTAL", 1);
    if (def != 0 && total > 0)
        for (int n = 1; n <= total; ++n)
            templateNames_.push_back(
                settings.readString("TEMPLATE" + std::to_string(n), "Name", " "));
    loadTemplate(def);
}

void WizardForm::loadTemplate(int number) {
    selectedTemplate_ = number;
    fields = TemplateFields::load(settings_, "TEMPLATE" + std::to_string(number));
}

void WizardForm::chooseTemplate(int item) {
    if (item < 0 || item >= static_cast<int>(templateNames_.size())) return;
    loadTemplate(item + 1);
}

std::string WizardForm::projectFolder() const {
    const std::string projects = settings_.readString("SYSTEM", "PROJECT");
    if (projects.empty()) return {};
    return projects + "\\" + projectName;
}

WizardForm::Step WizardForm::next(ui::Prompts& prompts, Workspace& ws) {
    if (projectName.empty()) return Step::Stayed;
    if (page_ == 1) {
        const std::string folder = projectFolder();
        if (!folder.empty() && platform::folderExists(folder) &&
            prompts.confirm("同名のプロジェクトが既に存在します。上書きして良いですか?",
                            ui::Buttons::YesCancel) != ui::Answer::Yes) {
            projectName.clear();
            return Step::Stayed;
        }
        page_ = 2;
        return Step::ShowingPage2;
    }
    if (projectFolder().empty()) {
        // Closing with OK here would create nothing and leave the old project's paths in use.
        prompts.warn(
            "プロジェクトの保存先フォルダが設定されていません。\n「環境設定」でプロジェクトフォルダ"
            "を指定して下さい。");
        return Step::Stayed;
    }
    // Convert every number before anything is created, so a bad field changes nothing.
    numberFieldValue(fields.posX);
    numberFieldValue(fields.posY);
    numberFieldValue(fields.width);
    numberFieldValue(fields.height);
    numberFieldValue(fields.frameWidth);
    createProject(ws);
    return Step::Created;
}

void WizardForm::back() {
    page_ = 1;
}

void WizardForm::createProject(Workspace& ws) const {
    const std::string folder = projectFolder();
    const std::string xhp = folder + "\\" + projectName + ".XHP";
    const std::string xhc = folder + "\\" + projectName + ".XHC";
    const std::string resources = folder + "\\_RESOURCE";
    if (!platform::folderExists(folder) && !platform::createFolders(folder))
        throw platform::IoError("フォルダを作成できません: " + platform::cp932ToUtf8(folder));
    if (!platform::folderExists(resources) && !platform::createFolders(resources))
        throw platform::IoError("フォルダを作成できません: " + platform::cp932ToUtf8(resources));

    // An existing project file (the author agreed to overwrite) keeps its other keys.
    platform::IniFile ini = platform::IniFile::load(xhp);
    ini.setPath(xhp);
    const std::string templ = "TEMPLATE" + std::to_string(selectedTemplate_);
    const char* s = "XHP";
    ini.writeInteger(s, "Version", kCurrentProjectVersion);
    ini.writeString(s, "PDir", folder);
    ini.writeString(s, "Name", projectName);
    ini.writeString(s, "XHP", xhp);
    ini.writeString(s, "XHC", xhc);
    ini.writeString(s, "HelpName", projectName);
    ini.writeString(s, "FileName", projectName + ".chm");
    ini.writeInteger(s, "NodeIcon", fields.nodeIcon == 1 ? 1 : 0);
    ini.writeString(s, "CSS", fields.css);
    ini.writeBool(s, "UseCSS", fields.useCss);
    ini.writeBool(s, "KeepPos", fields.keepPos);
    ini.writeBool(s, "Topmost", fields.topmost);
    ini.writeInteger(s, "PosX", numberFieldValue(fields.posX));
    ini.writeInteger(s, "PosY", numberFieldValue(fields.posY));
    ini.writeInteger(s, "Width", numberFieldValue(fields.width));
    ini.writeInteger(s, "Height", numberFieldValue(fields.height));
    ini.writeInteger(s, "FrameWidth", numberFieldValue(fields.frameWidth));
    for (const char* key :
         {"BTView", "BTBack", "BTNext", "BTOption", "BTPrint", "BTRefresh", "BTStop", "BTUp",
          "BTDown", "BTSync", "BTHomeURL", "BTJump1", "BTJump2"})
        ini.writeBool(s, key, fields.button(key));
    ini.writeBool(s, "FullTextSearch", fields.fullTextSearch);
    ini.writeBool(s, "TabSearch", fields.tabSearch);
    ini.writeBool(s, "TabFavorite", fields.tabFavorite);
    ini.writeBool(s, "TabKeyword", fields.tabKeyword);
    // Window options the wizard does not show come from the template; KeepPos and Topmost
    // stay as the author set them in the wizard.
    ini.writeBool(s, "Visible", settings_.readBool(templ, "Visible", false));
    ini.writeBool(s, "Edge", settings_.readBool(templ, "Edge", false));
    ini.writeBool(s, "BToc", settings_.readBool(templ, "BToc", false));
    ini.writeBool(s, "Maximize", settings_.readBool(templ, "Maximize", false));
    ini.writeBool(s, "NodeSquare", settings_.readBool(templ, "NodeSquare", true));
    ini.writeBool(s, "NodeLines", settings_.readBool(templ, "NodeLines", true));
    ini.writeBool(s, "OneClick", settings_.readBool(templ, "OneClick", false));
    ini.writeBool(s, "BTFont", fields.button("BTFont"));
    ini.writeString(s, "Default", "");
    ini.writeString(s, "FontName", fields.fontName);
    ini.writeInteger(s, "FontSize", fields.fontSize);
    ini.writeInteger(s, "LangNum", fields.langNum);
    ini.writeString(s, "LangStr", std::string(helpLanguageText(fields.langNum)));
    ini.writeString(s, "AutoHTML", fields.autoHtml);
    ini.writeString(s, "AutoHEAD", fields.autoHead);
    ini.writeString(s, "AutoIndex", fields.autoIndex);
    ini.writeBool(s, "HideTxt", settings_.readBool(templ, "HideTxt", false));
    ini.writeBool(s, "HideFirst", fields.hideFirst);
    ini.writeBool(s, "ConvSJIS", fields.convSjis);
    ini.writeBool(s, "ConvKillJS", fields.convKillJs);
    ini.writeBool(s, "URLFilter", fields.urlFilter);
    ini.writeBool(s, "SetCompleteDestOW", fields.setCompleteDest);
    ini.writeString(s, "SetCompleteDestPathOW", fields.completeDestPath);
    ini.save();

    ws.project = std::move(ini);
}

}  // namespace tarnbook::project
