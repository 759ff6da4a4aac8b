#pragma once

#include <string>

#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "project/ContentTree.h"
#include "support/Fakes.h"
#include "support/TempDir.h"
#include "workshopimport/WorkshopImport.h"

namespace tarnbook::testing {

// A project folder (project file, empty tree, _RESOURCE) and a Workshop folder beside it.
struct ImportFixture {
    TempDir dir;
    project::ContentTree tree;
    platform::IniFile project;
    FakePrompts prompts;
    std::string projectFolder = dir.file("Proj");
    std::string workshop = dir.file("ws");

    ImportFixture() {
        writeBytes(projectFolder + "/Proj.XHP", "[XHP]\r\nName=Proj\r\nHelpName=Proj\r\n");
        project = platform::IniFile::load(projectFolder + "/Proj.XHP");
        project.setPath(projectFolder + "/Proj.XHP");
        writeBytes(projectFolder + "/_RESOURCE/.keep", "");
    }

    void put(const std::string& name, const std::string& bytes) {
        writeBytes(workshop + "/" + name, bytes);
    }

    workshopimport::ImportResult run(const std::string& hhc = "toc.hhc", bool copy = false) {
        workshopimport::ImportOptions o;
        o.copyResources = copy;
        o.prompts = &prompts;
        return workshopimport::importWorkshopProject({tree, project, projectFolder},
                                                     workshop + "/" + hhc, o);
    }

    // The tree as "title[html#anchor|icon|type](children)", UTF-8.
    static std::string shape(const project::TreeNode* first) {
        std::string out;
        for (const project::TreeNode* n = first; n; n = n->nextSibling()) {
            if (!out.empty()) out += ',';
            out += platform::cp932ToUtf8(n->data.Title);
            if (!n->data.HTML.empty()) {
                out += "[" + platform::cp932ToUtf8(n->data.HTML);
                if (!n->data.Anchor.empty()) out += "#" + n->data.Anchor;
                out += "]";
            }
            out += "|" + std::to_string(n->data.ImageIndex) + (n->data.isHeading() ? "H" : "");
            if (n->hasChildren()) out += "(" + shape(n->firstChild()) + ")";
        }
        return out;
    }
    std::string shape() const { return tree.empty() ? "" : shape(tree.topLevel(0)); }
};

// A sitemap object line.
inline std::string object(const std::string& name, const std::string& local = "",
                          const std::string& extra = "") {
    std::string s = "<LI><OBJECT type=\"text/sitemap\">";
    if (!name.empty()) s += "<param name=\"Name\" value=\"" + name + "\">";
    if (!local.empty()) s += "<param name=\"Local\" value=\"" + local + "\">";
    return s + extra + "</OBJECT>\n";
}

}  // namespace tarnbook::testing
