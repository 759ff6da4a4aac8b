#include "project/Startup.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "project/AboutInfo.h"
#include "project/HelpFiles.h"
#include "project/ProjectLifecycle.h"
#include "project/SettingColours.h"
#include "project/Workspace.h"

namespace tarnbook::project {
namespace {

constexpr const char* S = kSystemSection;

void applyEditorLook(Workspace& ws) {
    const std::string font = ws.settings.readString(S, "FontName", "MS UI Gothic");
    const int size = ws.settings.readInteger(S, "FontSize", 9);
    const unsigned text = settingColourOr(ws.settings.readString(S, "FontCol", "clWindowText"), 0);
    const unsigned back =
        settingColourOr(ws.settings.readString(S, "BackCol", "clWhite"), 0xFFFFFF);
    ws.editor.setFont(font, size, text);
    ws.editor.setBackground(back);
    ws.editor.setModified(false);
}

// The project to open: the first argument (lower-cased), else with Resume the last project.
// A resume entry whose file is gone is cleared with Resume, so the next start does not try
// it again; an empty entry is no stale entry and leaves Resume alone.
std::string chooseProject(Workspace& ws, const std::vector<std::string>& arguments) {
    std::string chosen;
    const std::string resumeFile = ws.settings.readString(S, "ResumeXHP");
    const bool resumeExists = !resumeFile.empty() && platform::fileExists(resumeFile);
    if (!arguments.empty() && !arguments.front().empty()) {
        chosen = platform::lowerCaseSjis(arguments.front());
    } else if (ws.settings.readBool(S, "Resume", false) && resumeExists) {
        chosen = resumeFile;
    }
    if (!resumeFile.empty() && !resumeExists) {
        ws.settings.writeBool(S, "Resume", false);
        ws.settings.writeString(S, "ResumeXHP", "");
        writeSettings(ws);
    }
    return chosen;
}

bool openChosenProject(Workspace& ws, RecentProjects& recent, const std::string& path,
                       bool fromCommandLine) {
    if (path.empty()) return false;
    if (platform::upperCaseSjis(platform::extensionPart(path)) != ".XHP") {
        if (fromCommandLine)
            ws.prompts.warn("プロジェクトファイル (*.XHP) ではないため開きません。\n[ " +
                            platform::cp932ToUtf8(path) + " ]");
        return false;
    }
    if (fromCommandLine && !platform::fileExists(path)) {
        ws.prompts.warn("ファイル [ " + platform::cp932ToUtf8(path) + " ] が見つかりません。");
        return false;
    }
    ws.saved = true;
    recent.add(platform::upperCaseSjis(path));
    const bool opened = openProject(ws, path);
    recent.store();
    return opened;
}

}  // namespace

std::string newTempFile() {
    return platform::makeTempFile(kTempFilePrefix);
}

std::unique_ptr<platform::SingleInstance> claimSingleInstance(const std::string& appFolder) {
    auto lock = std::make_unique<platform::SingleInstance>(appFolder);
    if (!lock->failure().empty()) throw platform::IoError(lock->failure());
    if (!lock->isFirst()) return nullptr;
    return lock;
}

bool loadSettings(Workspace& ws, RecentProjects& recent, const FirstStartEnvironment& env) {
    ws.settings = loadSettingsFile(env.appFolder);
    const PrepareResult prepared = prepareSettings(ws.settings, env);
    recent.attach(ws.settings.path(), &ws.settings);
    ws.rememberRecentProject = [&recent](const std::string& path) {
        recent.add(path);
        recent.store();
    };
    return prepared.firstStart;
}

StartupState startUp(Workspace& ws, RecentProjects& recent, const StartupOptions& options) {
    StartupState st;
    st.firstStart = loadSettings(ws, recent, options.env);
    const platform::IniFile& s = ws.settings;

    // The standard page of the program's own template folder.
    if (s.valueExists(S, "DefHTML")) {
        const std::string page = platform::fileNamePart(s.readString(S, "DefHTML"));
        ws.preview.show(
            platform::joinPath(platform::joinPath(options.env.appFolder, "TEMPLATE"), page));
    } else {
        ws.preview.show("about:blank");
    }
    ws.status.setTitle(startupTitle());

    st.placement.x = s.readInteger(S, "PosX", 20);
    st.placement.y = s.readInteger(S, "PosY", 20);
    st.placement.width = s.readInteger(S, "Width", 630);
    st.placement.height = s.readInteger(S, "Height", 480);
    st.placement.frame = s.readInteger(S, "Frame", 135);
    st.placement.maximized = s.readBool(S, "Maximized", false);
    applyEditorLook(ws);
    st.nodeBox = s.readBool(S, "NodeBox", false);
    st.captureOn = s.readBool(S, "CaptureOn", false);
    st.captureActive = s.readBool(S, "CaptureActive", true);
    st.captureCursor = s.readBool(S, "CaptureCursor", false);
    st.previewTextSize = s.readInteger(S, "BaseFSize", kDefaultPreviewTextSize);
    st.textSizeMenuItem = textSizeMenuItem(st.previewTextSize);
    ws.saved = true;
    ws.status.setPageVisible(ui::Page::Editor, false);
    ws.status.setPageVisible(ui::Page::Resources, false);
    st.helpFile = findHelpFile(platform::programFolder(), options.env.appFolder);
    st.rightClickRefresh = s.readBool(S, "RClickRefresh", false);
    st.tools = externalTools(s);
    refreshStatus(ws);

    const bool fromCommandLine = !options.arguments.empty() && !options.arguments.front().empty();
    const std::string chosen = chooseProject(ws, options.arguments);
    st.projectOpened = openChosenProject(ws, recent, chosen, fromCommandLine);
    return st;
}

void checkStandardPage(Workspace& ws) {
    const std::string page = ws.settings.readString(S, "DefHTML", " ");
    if (!platform::fileExists(page))
        ws.prompts.warn("ファイル [ " + platform::cp932ToUtf8(page) +
                        " ] が見つかりません。\n「環境設定」で正しいパスを指定して下さい。");
}

void shutDown(Workspace& ws, RecentProjects& recent, const ShutdownInput& in) {
    platform::IniFile& s = ws.settings;
    if (in.state == WindowState::Normal) {
        s.writeBool(S, "Maximized", false);
        s.writeInteger(S, "PosX", in.placement.x);
        s.writeInteger(S, "PosY", in.placement.y);
        s.writeInteger(S, "Width", in.placement.width);
        s.writeInteger(S, "Height", in.placement.height);
        s.writeInteger(S, "Frame", in.placement.frame);
    } else if (in.state == WindowState::Maximized) {
        s.writeBool(S, "Maximized", true);
    }
    s.writeBool(S, "CaptureOn", in.captureOn);
    s.writeInteger(S, "BaseFSize", in.previewTextSize);
    const bool resume =
        s.readBool(S, "Resume", false) && ws.hasProject() && platform::fileExists(ws.projectFile());
    s.writeString(S, "ResumeXHP", resume ? ws.projectFile() : std::string());
    if (!s.path().empty()) s.save();

    ws.clearEditor();
    ws.tree.clear();
    if (!ws.previewTempFile.empty()) {
        platform::deleteFile(ws.previewTempFile);
        ws.previewTempFile.clear();
    }
    ws.project.reset();
    recent.storeFinal();
}

}  // namespace tarnbook::project
