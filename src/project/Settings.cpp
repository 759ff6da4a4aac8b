#include "project/Settings.h"

#include <initializer_list>

#include "BuildInfo.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/Process.h"

namespace tarnbook::project {
namespace {

using platform::IniFile;
using platform::joinPath;

constexpr const char* kCompilerName = "tarnbook-hhc";

void writeKeys(IniFile& ini, const char* section, std::initializer_list<const char*> keys) {
    for (const char* key : keys) ini.writeInteger(section, key, 1);
}

void createFolderOrThrow(const std::string& folder) {
    if (!platform::createFolders(folder))
        throw platform::IoError("フォルダを作成できません: " + platform::cp932ToUtf8(folder));
}

void writeFirstStartSystem(IniFile& s, const FirstStartEnvironment& env,
                           const std::string& projects, const std::string& templates) {
    s.writeString(kSystemSection, "PROJECT", projects);
    s.writeString(kSystemSection, "HHC", env.compiler);
    s.writeString(kSystemSection, "TEMPLATE", templates);
    s.writeString(kSystemSection, "EditHTML", env.editor);
    s.writeString(kSystemSection, "EditTXT", env.editor);
    s.writeString(kSystemSection, "DefHTML", joinPath(templates, "Default.HTML"));
    s.writeString(kSystemSection, "DefCSS", joinPath(templates, "Default.CSS"));
    s.writeString(kSystemSection, "ALERT1", joinPath(templates, "NotFound.HTML"));
    s.writeString(kSystemSection, "ALERT2", joinPath(templates, "Remote.HTML"));
    s.writeString(kSystemSection, "Prefix", "HLP_IDH_");
    s.writeString(kSystemSection, "FontName", "MS UI Gothic");
    s.writeInteger(kSystemSection, "FontSize", 9);
    s.writeString(kSystemSection, "FontCol", "clWindowText");
    s.writeString(kSystemSection, "BackCol", "clWhite");
}

}  // namespace

std::string settingsFilePath(const std::string& appFolder) {
    return joinPath(appFolder, kSettingsFileName);
}

namespace {

// The driver of this installation or build: beside the program, in the build tree's sibling
// folder, then on PATH. Empty when there is none.
std::string findDriver(const std::string& programFolder) {
    std::string folder = programFolder;
    while (folder.size() > 1 && platform::isSeparatorAt(folder, folder.size() - 1))
        folder.pop_back();
    const std::string buildTree = joinPath(platform::folderPart(folder), "hhc");
    for (const std::string& candidate :
         {joinPath(folder, kCompilerName), joinPath(buildTree, kCompilerName)}) {
        if (platform::fileExists(candidate) && !platform::findExecutable(candidate).empty())
            return candidate;
    }
    return platform::findExecutable(kCompilerName);
}

}  // namespace

std::string detectCompiler(const std::string& programFolder) {
    const std::string driver = findDriver(programFolder);
    return driver.empty() ? std::string(kCompilerName) : driver;
}

std::string resolveCompiler(const std::string& setting, const std::string& programFolder) {
    const bool unset = setting.empty() || setting == " ";
    if (!unset && platform::fileExists(setting)) return setting;
    if (!unset && platform::lastSeparator(setting) == std::string::npos) {
        const std::string found = platform::findExecutable(setting);
        if (!found.empty()) return found;
    }
    if (unset || platform::fileNamePart(setting) == kCompilerName) {
        const std::string driver = findDriver(programFolder);
        if (!driver.empty()) return driver;
    }
    return setting;
}

std::string detectEditor() {
    // Graphical editors first: the settings name a program started without a terminal.
    for (const char* editor : {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed",
                               "pluma", "featherpad", "leafpad", "geany"}) {
        if (!platform::findExecutable(editor).empty()) return editor;
    }
    return "xdg-open";
}

std::string installedTemplateFolder() {
    // Beside the running program first: the same tree it was installed with, wherever it is.
    const std::string beside = joinPath(
        joinPath(platform::programFolder(), buildinfo::kDataDirFromProgramFolder), "template");
    if (platform::folderExists(beside)) return beside;
    const std::string installed = joinPath(buildinfo::kInstalledDataDir, "template");
    if (platform::folderExists(installed)) return installed;
    const std::string source = joinPath(buildinfo::kSourceDataDir, "template");
    if (platform::folderExists(source)) return source;
    return {};
}

FirstStartEnvironment FirstStartEnvironment::detect(const std::string& appFolder) {
    FirstStartEnvironment env;
    env.appFolder = appFolder;
    env.compiler = detectCompiler(platform::programFolder());
    env.editor = detectEditor();
    env.templateSource = installedTemplateFolder();
    return env;
}

int seedTemplateFolder(const std::string& templateFolder, const std::string& source) {
    createFolderOrThrow(templateFolder);
    if (source.empty()) return 0;
    int copied = 0;
    for (const char* name : kTemplateFiles) {
        const std::string from = joinPath(source, name);
        if (!platform::fileExists(from)) continue;
        // An existing file may carry the user's own changes: never replace it.
        if (platform::copyFile(from, joinPath(templateFolder, name), true)) ++copied;
    }
    return copied;
}

bool writeMissingFilterSections(IniFile& settings) {
    bool wrote = false;
    if (!settings.sectionExists("FilterImport")) {
        writeKeys(settings, "FilterImport", {".txt", ".eml", ".ico", ".htm", ".html", ".mht"});
        wrote = true;
    }
    if (!settings.sectionExists("FilterFolder")) {
        writeKeys(settings, "FilterFolder", {"_note", "tmp", "temp", "bak"});
        wrote = true;
    }
    return wrote;
}

void writeFirstStartTemplates(IniFile& s, const std::string& templateFolder) {
    s.writeInteger("TEMPLATE", "TOTAL", 1);
    s.writeInteger("TEMPLATE", "DEFAULT", 1);
    const char* t = "TEMPLATE1";
    s.writeString(t, "NAME", "Default");
    s.writeString(t, "CSS", joinPath(templateFolder, "Default.CSS"));
    s.writeBool(t, "KeepPos", true);
    s.writeInteger(t, "PosX", 200);
    s.writeInteger(t, "PosY", 200);
    s.writeInteger(t, "PosW", 600);
    s.writeInteger(t, "PosH", 400);
    s.writeBool(t, "BtView", true);
    s.writeBool(t, "BtBack", true);
    s.writeBool(t, "BtNext", true);
    s.writeBool(t, "BTHomeURL", false);
    s.writeBool(t, "BTStop", false);
    s.writeBool(t, "BTUp", false);
    s.writeBool(t, "BTDown", false);
    s.writeInteger(t, "FrameWidth", 200);
    s.writeString(t, "FontName", "MS UI Gothic");
    s.writeInteger(t, "FontSize", 10);
    s.writeBool(t, "UseCSS", false);
    s.writeBool(t, "FullTextSearch", true);
    s.writeBool(t, "TabSearch", true);
    s.writeBool(t, "TabFavorite", false);
}

PrepareResult prepareSettings(IniFile& settings, const FirstStartEnvironment& env) {
    PrepareResult r;
    r.changed = writeMissingFilterSections(settings);
    if (!settings.sectionExists(kSystemSection)) {
        const std::string projects = joinPath(env.appFolder, "PROJECT");
        const std::string templates = joinPath(env.appFolder, "TEMPLATE");
        createFolderOrThrow(projects);
        seedTemplateFolder(templates, env.templateSource);
        writeFirstStartSystem(settings, env, projects, templates);
        writeFirstStartTemplates(settings, templates);
        if (!settings.path().empty()) settings.save();
        r.firstStart = true;
        r.changed = true;
    }
    if (!settings.valueExists(kSystemSection, "Version") ||
        settings.readInteger(kSystemSection, "Version", 0) != kSettingsVersion) {
        r.changed = true;
    }
    settings.writeInteger(kSystemSection, "Version", kSettingsVersion);
    return r;
}

IniFile loadSettingsFile(const std::string& appFolder) {
    const std::string path = settingsFilePath(appFolder);
    IniFile ini = IniFile::load(path);
    ini.setPath(path);
    return ini;
}

PrepareResult prepareAppFolder(const FirstStartEnvironment& env) {
    IniFile settings = loadSettingsFile(env.appFolder);
    const PrepareResult r = prepareSettings(settings, env);
    if (r.changed) settings.save();
    return r;
}

}  // namespace tarnbook::project
