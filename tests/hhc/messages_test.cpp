#include <gtest/gtest.h>

#include "hhc/HhcMessages.h"

using namespace tarnbook::hhc;

TEST(HhcMessages, MapsEachKindOfChmcmdLineToItsNumberAndSeverity) {
    struct Case {
        const char* line;
        int number;
        Severity severity;
        const char* mustContain;
    } cases[] = {
        {"Warning: Found file img/a.gif while scanning p/b.htm, but couldn't find it on disk", 5013,
         Severity::Warning, "p/b.htm refers to img/a.gif"},
        {"Error: Anchor sub/p.htm#top undefined; first use index.htm", 5013, Severity::Warning,
         "index.htm refers to the anchor sub/p.htm#top"},
        {"Warning: File pages/x.png does not exist", 5003, Severity::Error, "pages/x.png"},
        {"Error: Can't find TOC file /p/toc.hhc", 4016, Severity::Error, "toc.hhc"},
        {"Error: Can't find index file /p/\"Index.hhk\"", 4016, Severity::Error, "Index.hhk"},
        {"Error scanning TOC file (toc.hhc)", 5005, Severity::Error, "toc.hhc"},
        {"Error loading index file x.hhk", 5008, Severity::Error, "x.hhk"},
        {"This HHP CHM project seems corrupt, please check it a.hhp (context \"IDH_X\" not found!)",
         4014, Severity::Error, "IDH_X"},
        {"EFCreateError: Unable to create file \"\": Bad address", 5000, Severity::Error,
         "Unable to create"},
        {"EFOpenError: Unable to open file \"/p/a.png\"", 5001, Severity::Error, "/p/a.png"},
        {"EAccessViolation: Access violation", 6000, Severity::Error, "Access violation"},
        {"Error: something new", 6000, Severity::Error, "something new"},
        {"Warning: something new", 2000, Severity::Warning, "something new"},
        {"Can't find file a.htm to scan it.", 5013, Severity::Warning, "a.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        auto m = mapChmcmdLine(c.line);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->number, c.number);
        EXPECT_EQ(m->severity, c.severity);
        EXPECT_NE(m->text.find(c.mustContain), std::string::npos) << m->text;
    }
}

TEST(HhcMessages, DropsNotesBannerProgressAndStackLines) {
    const char* quiet[] = {"Note: Index items:2",
                           "Hint: something",
                           "chmcmd, a CHM compiler. (c) 2010-2019 Free Pascal core.",
                           "Writing CHM Othello.chm",
                           "An unhandled exception occurred at $0000000000416A4A:",
                           "  $0000000000416A4A",
                           "",
                           "Error"};
    for (const char* line : quiet) EXPECT_FALSE(mapChmcmdLine(line)) << line;
    EXPECT_EQ(mapChmcmdOutput("Note: a\nWarning: b\r\nError: c\n").size(), 2u);
}

TEST(HhcMessages, LineHasTheLogReadersLayout) {
    EXPECT_EQ((HhcMessage{5003, Severity::Error, "x"}).line(), "HHC5003: Error: x");
    EXPECT_EQ((HhcMessage{406, Severity::Warning, "y"}).line(), "HHC0406: Warning: y");
}
