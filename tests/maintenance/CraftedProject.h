#pragma once
#include <string>

#include "maintenance/Analysis.h"
#include "support/TempDir.h"

namespace tarnbook::testing {

// A resource folder whose page in a sub-folder refers to files in every way a page can:
// a plain name, "../", a sub-folder with "/", single quotes, no quotes, an anchor, an https
// link, and a style sheet that names a picture. Exactly one file, unused.gif, is referred to by
// nothing.
struct CraftedProject {
    TempDir dir;
    std::string resource = dir.file("_RESOURCE");

    CraftedProject() {
        put("index.htm", "<html><body><a href=\"sub/page.htm#top\">on</a></body></html>");
        // Reached only by the link above, not by a contents node.
        put("sub/page.htm",
            "<html><head><link rel=stylesheet href='../style.css'></head>\n"
            "<body background=bg.gif>\n"
            "<img src=\"pic.gif\"> <img src=\"../img/a.gif\"> <img src=\"img/b.gif\">\n"
            "<a href=\"#anchor\">here</a> <a href=\"https://example.org/x.gif\">out</a>\n"
            "<a href=\"mailto:a@example.org\">mail</a>\n"
            "<p>the source=unused.gif of this text is not a reference</p>\n"
            "<img src=\"IMG/C.GIF\"></body></html>");
        put("style.css", "body{background:url('img/paper.gif')}");
        put("img/paper.gif", "s");
        put("sub/bg.gif", "g");
        put("sub/pic.gif", "p");
        put("img/a.gif", "a");
        put("sub/img/b.gif", "b");
        put("sub/img/c.gif", "c");
        put("unused.gif", "u");
    }

    void put(const std::string& relative, const std::string& bytes) const {
        writeBytes(resource + "/" + relative, bytes);
    }

    maintenance::AnalysisInput input() const {
        maintenance::AnalysisInput in;
        in.resourceFolder = resource;
        in.nodes = {{"Top", "index.htm"}, {"Heading", ""}};
        return in;
    }
};

}  // namespace tarnbook::testing
