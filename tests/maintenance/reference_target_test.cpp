#include <gtest/gtest.h>

#include "maintenance/ReferenceTarget.h"

namespace tarnbook::maintenance {
namespace {

TEST(ReferenceTarget, ResolvesFromThePagesOwnFolder) {
    enum Expect { Ignored, Page, File, External, Outside };
    struct Case {
        const char* folder;
        const char* value;
        Expect expect;
        const char* path;
    };
    const Case cases[] = {
        {"sub", "pic.gif", File, "sub\\pic.gif"},
        {"sub", "../img/a.gif", File, "img\\a.gif"},
        {"sub", "img/b.gif", File, "sub\\img\\b.gif"},
        {"sub\\deep", "..\\..\\x.htm", Page, "x.htm"},
        {"", "page.htm#top", Page, "page.htm"},
        {"", "pic.gif#x", File, "pic.gif"},
        {"", "cgi.php?id=3", Page, "cgi.php"},
        {"", "Page.HTML", Page, "Page.HTML"},
        {"sub", "/root.htm", Page, "root.htm"},
        {"sub", "./same.gif", File, "sub\\same.gif"},
        {"", "../up.gif", Outside, "..\\up.gif"},
        {"", "C:\\pics\\a.gif", Outside, "C:\\pics\\a.gif"},
        {"", "#frag", Ignored, ""},
        {"", "?only=query", Ignored, ""},
        {"", "", Ignored, ""},
        {"", "MAILTO:me@example.org", Ignored, ""},
        {"", "javascript:void(0)", Ignored, ""},
        {"", "data:image/gif;base64,R0lG", Ignored, ""},
        {"", "http://example.org/a.htm", External, "http://example.org/a.htm"},
        {"", "HTTPS://example.org", External, "HTTPS://example.org"},
        {"", "ms-its:other.chm::/a.htm", External, "ms-its:other.chm::/a.htm"},
        {"", "//cdn.example.org/x.js", External, "//cdn.example.org/x.js"},
    };
    for (const Case& c : cases) {
        const ReferenceTarget t = resolveReference(c.folder, c.value);
        SCOPED_TRACE(std::string(c.folder) + " | " + c.value);
        EXPECT_EQ(t.ignored, c.expect == Ignored);
        if (c.expect == Ignored) continue;
        EXPECT_EQ(t.path, c.path);
        EXPECT_EQ(t.outside, c.expect == Outside);
        const ReferenceKind kind = c.expect == Page       ? ReferenceKind::Page
                                   : c.expect == External ? ReferenceKind::External
                                                          : ReferenceKind::File;
        if (c.expect != Outside) {
            EXPECT_EQ(t.kind, kind);
        }
    }
}

TEST(ReferenceTarget, PercentDecodingKeepsSeparatorsAndBrokenEscapes) {
    EXPECT_EQ(percentDecoded("my%20file.gif"), "my file.gif");
    EXPECT_EQ(percentDecoded("a%2Fb%5cc%00"), "a%2Fb%5cc%00");
    EXPECT_EQ(percentDecoded("100%.gif%4"), "100%.gif%4");
}

}  // namespace
}  // namespace tarnbook::maintenance
