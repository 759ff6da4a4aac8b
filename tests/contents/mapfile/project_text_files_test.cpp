#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <optional>
#include <string>
#include <vector>

#include "contents/AdditionKeyword.h"
#include "contents/CommandTable.h"
#include "contents/ProjectTextFiles.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using contents::ProjectTextFile;
using tarnbook::testing::readBytes;
using tarnbook::testing::writeBytes;

namespace {

bool commandEnabled(const project::Workspace& ws, std::string_view id) {
    return contents::ruleEnabled(contents::findCommand(id)->rule, contents::enableStateOf(ws));
}

TEST(ProjectTextFiles, EditCommandsAreEnabledExactlyWhileTheirFileIsInUseAndExists) {
    struct Case {
        const char* name;
        const char* use;      // UseMap / UsePopup value
        std::string fileKey;  // MAP / PopupTxt value; "@" stands for the project folder
        bool create;          // create the file the value names
        bool expected;
    };
    const std::vector<Case> cases = {
        {"bare name present", "1", "H.MAP", true, true},
        {"bare name missing", "1", "H.MAP", false, false},
        {"switched off", "0", "H.MAP", true, false},
        {"full path present", "1", "@/sub/H.MAP", true, true},
        {"full path missing", "1", "@/sub/H.MAP", false, false},
        {"no name", "1", "", false, false},
    };
    for (const Case& c : cases) {
        for (ProjectTextFile which : {ProjectTextFile::Map, ProjectTextFile::Popup}) {
            tarnbook::testing::WorkspaceFixture f;
            const bool map = which == ProjectTextFile::Map;
            const std::string folder = f.dir.file("P");
            std::string value = c.fileKey;
            if (!value.empty() && value[0] == '@') value = folder + value.substr(1);
            const std::string keys = std::string("Version=249\r\n") +
                                     (map ? "UseMap=" : "UsePopup=") + c.use + "\r\n" +
                                     (map ? "MAP=" : "PopupTxt=") + value + "\r\n";
            ASSERT_TRUE(project::openProject(f.ws, f.makeProjectFile("P", keys)));
            if (c.create)
                writeBytes(value.find('/') == std::string::npos ? folder + "/" + value : value,
                           "x");
            const char* id = map ? "ActEditMap" : "ActEditPopup";
            const char* other = map ? "ActEditPopup" : "ActEditMap";
            EXPECT_EQ(commandEnabled(f.ws, id), c.expected) << c.name << " " << id;
            EXPECT_FALSE(commandEnabled(f.ws, other)) << c.name << " " << other;
            EXPECT_EQ(contents::editableProjectTextFile(f.ws, which).empty(), !c.expected);
        }
    }
    tarnbook::testing::WorkspaceFixture closed;
    EXPECT_FALSE(commandEnabled(closed.ws, "ActEditMap"));
    EXPECT_FALSE(commandEnabled(closed.ws, "PutMap"));
}

TEST(ProjectTextFiles, TheSettingsEditorIsStartedWithoutWaiting) {
    tarnbook::testing::WorkspaceFixture f;
    ASSERT_TRUE(project::openProject(
        f.ws, f.makeProjectFile("P", "Version=249\r\nUseMap=1\r\nMAP=H.MAP\r\n")));
    const std::string map = f.dir.file("P/H.MAP");
    writeBytes(map, "x");
    // A script that takes long to finish: the command must come back before it ends.
    const std::string editor = f.dir.file("editor.sh");
    writeBytes(editor, "#!/bin/sh\nsleep 1\ntouch \"$1.opened\"\n");
    ASSERT_EQ(::chmod(editor.c_str(), 0755), 0);
    f.ws.settings.writeString("SYSTEM", "EditTXT", editor);
    const auto start = std::chrono::steady_clock::now();
    contents::editProjectTextFile(f.ws, ProjectTextFile::Map);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    // The editor got the map file's path.
    while (!std::filesystem::exists(map + ".opened") &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(std::filesystem::exists(map + ".opened"));
    EXPECT_TRUE(f.prompts.shown.empty());

    f.ws.settings.writeString("SYSTEM", "EditTXT", f.dir.file("no-such-editor"));
    contents::editProjectTextFile(f.ws, ProjectTextFile::Map);
    EXPECT_TRUE(f.prompts.sawText("を開くプログラムを起動できません"));
}

struct Keyword : ::testing::Test, tarnbook::testing::WorkspaceFixture {
    Keyword() {
        EXPECT_TRUE(project::openProject(ws, makeProjectFile("P")));
        // Entry 2 has lost its file name.
        ws.project->writeInteger("Addition", "Count", 3);
        ws.project->writeString("Addition", "File1", "_RESOURCE\\A.HTML");
        ws.project->writeString("Addition", "Key1", "alpha");
        ws.project->writeString("Addition", "File3", "_RESOURCE\\C.HTML");
        ws.project->writeString("Addition", "Key3", "gamma");
        ws.project->save();
        before = readBytes(ws.projectFile());
    }
    std::string section() const {
        const std::string text = readBytes(ws.projectFile());
        return text.substr(text.find("[Addition]"));
    }
    std::string before;
};

TEST_F(Keyword, EditsTheMatchingEntryAndRewritesTheSectionEvenOnCancel) {
    struct Case {
        const char* name;
        std::optional<std::string> row;
        std::optional<std::string> typed;
        bool rewritten;
        std::string keyOfC;
    };
    const std::vector<Case> cases = {
        {"no selected row", std::nullopt, "x", false, "gamma"},
        {"row without an entry", "_RESOURCE\\Z.HTML", "x", false, "gamma"},
        {"cancelled", "_RESOURCE\\C.HTML", std::nullopt, true, "gamma"},
        {"typed", "_RESOURCE\\C.HTML", "delta", true, "delta"},
    };
    for (const Case& c : cases) {
        const std::string xhp = ws.projectFile();
        writeBytes(xhp, before);
        ws.project = platform::IniFile::load(xhp);
        prompts.fileAnswers = {c.typed};
        ws.saved = true;
        contents::editAdditionKeyword(ws, c.row);
        EXPECT_TRUE(ws.saved) << c.name;
        if (!c.rewritten) {
            EXPECT_EQ(readBytes(ws.projectFile()), before) << c.name;
            continue;
        }
        EXPECT_EQ(section(),
                  "[Addition]\r\nCount=2\r\nFile1=_RESOURCE\\A.HTML\r\nKey1=alpha\r\n"
                  "File2=_RESOURCE\\C.HTML\r\nKey2=" +
                      c.keyOfC + "\r\n\r\n")
            << c.name;
    }
}

}  // namespace
