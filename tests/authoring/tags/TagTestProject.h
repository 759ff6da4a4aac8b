#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/IniFile.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

namespace tarnbook::testing {

// An open project in a temporary folder, with helpers for nodes and resource files.
struct TagTestProject : WorkspaceFixture {
    std::string pdir, res;
    TagTestProject() {
        EXPECT_TRUE(project::openProject(ws, makeProjectFile("P")));
        pdir = ws.projectFolder();
        res = pdir + "/_RESOURCE";
    }
    project::TreeNode* addNode(const std::string& title, const std::string& html, int icon = 8) {
        auto n = std::make_unique<project::TreeNode>();
        n->data.Title = title;
        n->data.HTML = html;
        n->data.ImageIndex = icon;
        return ws.tree.appendChild(nullptr, std::move(n));
    }
    // The Addition entries of the project file as written to disk.
    std::vector<std::string> registeredOnDisk() const {
        const platform::IniFile ini = platform::IniFile::load(ws.projectFile());
        std::vector<std::string> out;
        const int count = ini.readInteger("Addition", "Count", 0);
        for (int n = 1; n <= count; ++n)
            out.push_back(ini.readString("Addition", "File" + std::to_string(n)));
        return out;
    }
};

}  // namespace tarnbook::testing
