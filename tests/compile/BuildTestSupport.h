#pragma once
#include <memory>
#include <string>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "project/Workspace.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

namespace tarnbook::testing {

// A status display that keeps every progress value.
struct RecordingStatus : FakeStatus {
    std::vector<int> progressHistory;
    void setProgress(int percent) override {
        FakeStatus::setProgress(percent);
        progressHistory.push_back(percent);
    }
};

// A workspace holding project NAME in a temporary folder, set up as an open project would be,
// with helpers to grow its contents tree.
struct BuildFixture {
    TempDir dir;
    FakePrompts prompts;
    FakePreview preview;
    FakeEditor editor;
    RecordingStatus status;
    project::Workspace ws{prompts, preview, editor, status};

    explicit BuildFixture(const std::string& name = "Help", const std::string& extraXhp = "") {
        const std::string folder = dir.file(name);
        const std::string xhp = folder + "/" + name + ".XHP";
        writeBytes(xhp, "[XHP]\r\nVersion=249\r\nPDir=" + folder + "\r\nName=" + name +
                            "\r\nXHP=" + xhp + "\r\nXHC=" + folder + "/" + name + ".XHC\r\n" +
                            extraXhp + "\r\n");
        platform::createFolders(folder + "/_RESOURCE");
        ws.project = platform::IniFile::load(xhp);
        ws.project->setPath(xhp);
        ws.project->writeString("XHP", "XHP", xhp);
    }

    std::string folder() const { return ws.projectFolder(); }
    std::string inFolder(const std::string& name) const { return folder() + "/" + name; }

    project::TreeNode* add(project::TreeNode* parent, const std::string& title,
                           const std::string& html, int image = 8, const std::string& anchor = "",
                           const std::string& keywords = "", const std::string& subKeywords = "",
                           const std::string& contextId = "") {
        auto node = std::make_unique<project::TreeNode>();
        auto& d = node->data;
        d.ItemType = image < 8 ? project::TData::kHeading : project::TData::kContent;
        d.Title = title;
        d.HTML = html;
        d.ImageIndex = image;
        d.Anchor = anchor;
        d.KeyWord = platform::utf8ToUtf16(keywords);
        d.SubKeyWord = platform::utf8ToUtf16(subKeywords);
        d.ContextID = contextId;
        node->syncViewFromData();
        auto* placed = ws.tree.appendChild(parent, std::move(node));
        ws.tree.refreshNodeStatus();
        ws.project->writeInteger("XHP", "Count", static_cast<long long>(ws.tree.count()));
        return placed;
    }

    void set(const std::string& key, const std::string& value) {
        ws.project->writeString("XHP", key, value);
    }
    void addResource(int n, const std::string& file, const std::string& key = "") {
        ws.project->writeInteger("Addition", "Count", n);
        ws.project->writeString("Addition", "File" + std::to_string(n), file);
        if (!key.empty()) ws.project->writeString("Addition", "Key" + std::to_string(n), key);
    }
};

// The lines of a generated file (CR LF split) and the whole text.
inline std::vector<std::string> fileLines(const std::string& path) {
    return platform::splitLines(platform::readFile(path));
}

}  // namespace tarnbook::testing
