#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "webexport/SiteLinks.h"

namespace tarnbook::webexport {
namespace {

TEST(SiteLinks, KindsOfUrl) {
    const std::pair<const char*, UrlKind> cases[] = {
        {"", UrlKind::Empty},
        {"  #a", UrlKind::Fragment},
        {"a.htm", UrlKind::Local},
        {"sub/a b.htm?x#y", UrlKind::Local},
        {"C:\\help\\a.htm", UrlKind::Local},
        {"MS-ITS:help.chm::/a.htm", UrlKind::HelpStore},
        {"mk:@MSITStore:help.chm::/a.htm", UrlKind::HelpStore},
        {"JavaScript:void(0)", UrlKind::Script},
        {"http://example.com/", UrlKind::External},
        {"mailto:a@b", UrlKind::External},
    };
    for (const auto& [url, kind] : cases) EXPECT_EQ(classifyUrl(url), kind) << url;
}

TEST(SiteLinks, ResolvesLinksToFilesOfTheProject) {
    testing::TempDir dir;
    const std::string project = dir.path() + "/prj";
    testing::writeBytes(project + "/_RESOURCE/Sub/Page.htm", "x");
    testing::writeBytes(project + "/_RESOURCE/a b.htm", "x");
    testing::writeBytes(project + "/_RESOURCE/index.htm", "x");
    const std::string from = project + "/_RESOURCE/index.htm";
    const LinkContext context{project, {"sample.chm"}};
    const struct {
        const char* url;
        const char* file;  // relative to the project, "" when unresolved
        const char* suffix;
    } cases[] = {
        {"sub/page.htm#x", "_RESOURCE/Sub/Page.htm", "#x"},
        {"a%20b.htm", "_RESOURCE/a b.htm", ""},
        {"./Sub/../a b.htm?q", "_RESOURCE/a b.htm", "?q"},
        {"ms-its:Sample.chm::/_RESOURCE/Sub/Page.htm", "_RESOURCE/Sub/Page.htm", ""},
        {"mk:@MSITStore:C:\\x\\SAMPLE.CHM::/_RESOURCE/index.htm#top", "_RESOURCE/index.htm",
         "#top"},
        {"ms-its:Other.chm::/_RESOURCE/index.htm", "", ""},
        {"C:\\Users\\me\\Prj\\_RESOURCE\\Sub\\Page.htm", "_RESOURCE/Sub/Page.htm", ""},
        {"/_RESOURCE/index.htm", "_RESOURCE/index.htm", ""},
        {"missing.htm", "", ""},
        {"http://example.com/a.htm", "", ""},
    };
    for (const auto& c : cases) {
        const auto link = resolveLink(c.url, from, context);
        if (std::string(c.file).empty()) {
            EXPECT_FALSE(link) << c.url;
            continue;
        }
        ASSERT_TRUE(link) << c.url;
        EXPECT_EQ(link->file, project + "/" + c.file) << c.url;
        EXPECT_EQ(link->suffix, c.suffix) << c.url;
    }
}

TEST(SiteLinks, RelativeUrlsBetweenSiteFiles) {
    const struct {
        const char* from;
        const char* to;
        const char* url;
    } cases[] = {
        {"a.htm", "b.htm", "b.htm"},
        {"x/a.htm", "b.htm", "../b.htm"},
        {"x/y/a.htm", "x/z/b c.htm", "../z/b%20c.htm"},
        {"a.htm", "x/#1.htm", "x/%231.htm"},
        {"xy/a.htm", "x/b.htm", "../x/b.htm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(relativeUrl(c.from, c.to), c.url) << c.from << " " << c.to;
}

}  // namespace
}  // namespace tarnbook::webexport
