#pragma once
#include <string>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "project/ContentTree.h"
#include "project/ContentsFile.h"

namespace tarnbook::testing {

// Writes a project folder `folder`/`name` with a contents file of `headings` headings, each
// holding `perHeading` pages (Shift_JIS, no declared charset). Returns the project file path.
inline std::string writeSampleProject(const std::string& folder, const std::string& name,
                                      int headings, int perHeading) {
    const std::string dir = folder + "/" + name;
    const std::string res = dir + "/_RESOURCE";
    platform::createFolders(res);
    project::ContentTree tree;
    int page = 0;
    for (int h = 0; h < headings; ++h) {
        auto head = std::make_unique<project::TreeNode>();
        head->data.ItemType = project::TData::kHeading;
        head->data.ImageIndex = 0;
        head->data.Title = platform::utf8ToCp932("第" + std::to_string(h + 1) + "章 はじめに");
        head->syncViewFromData();
        project::TreeNode* hn = tree.appendChild(nullptr, std::move(head));
        tree.setExpanded(hn, h == 0);
        for (int i = 0; i < perHeading; ++i, ++page) {
            auto item = std::make_unique<project::TreeNode>();
            const std::string file = "page" + std::to_string(page) + ".htm";
            item->data.HTML = file;
            item->data.ImageIndex = 8;
            item->data.Title =
                platform::utf8ToCp932("トピック " + std::to_string(page + 1) + " の説明");
            item->syncViewFromData();
            tree.appendChild(hn, std::move(item));
            platform::writeFileAtomic(
                res + "/" + file,
                platform::utf8ToCp932("<HTML><HEAD><TITLE>トピック</TITLE></HEAD>\r\n<BODY>\r\n"
                                      "<H1>トピック " +
                                      std::to_string(page + 1) +
                                      "</H1>\r\n<P>ヘルプの本文です。</P>\r\n"
                                      "<OBJECT id=x type=\"application/x-oleobject\">\r\n"
                                      "</OBJECT>\r\n</BODY></HTML>\r\n"));
        }
    }
    const std::string xhp = dir + "/" + name + ".XHP";
    const std::string xhc = dir + "/" + name + ".XHC";
    const std::size_t n = project::writeContentsFile(xhc, tree);
    platform::IniFile ini;
    ini.writeString("XHP", "Name", name);
    ini.writeString("XHP", "PDir", dir);
    ini.writeString("XHP", "XHP", xhp);
    ini.writeString("XHP", "XHC", xhc);
    ini.writeInteger("XHP", "Version", 249);
    ini.writeInteger("XHP", "Count", static_cast<long long>(n));
    ini.saveAs(xhp);
    return xhp;
}

}  // namespace tarnbook::testing
