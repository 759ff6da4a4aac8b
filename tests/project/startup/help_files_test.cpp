#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "BuildInfo.h"
#include "platform/Paths.h"
#include "project/HelpFiles.h"
#include "support/TempDir.h"

using namespace tarnbook;
using tarnbook::testing::TempDir;
namespace tbtest = tarnbook::testing;

// Which copy of the manual start-up takes when several lie around: the one beside the
// program (the build tree puts it there), then the data folder of the installation the
// program belongs to, and the app folder last.
TEST(HelpFiles, TheManualBesideTheProgramComesFirstThenItsInstallationThenTheAppFolder) {
    const std::string data =
        platform::joinPath("bin", buildinfo::kDataDirFromProgramFolder);  // bin/../share/...
    struct Row {
        std::vector<std::string> present;  // relative to the scratch folder
        std::string expected;              // "" when none is found
    };
    const Row rows[] = {
        {{"bin/Tarnbook.CHM", data + "/Tarnbook.CHM", "app/Tarnbook.CHM"}, "bin/Tarnbook.CHM"},
        {{data + "/Tarnbook.CHM", "app/Tarnbook.CHM"}, data + "/Tarnbook.CHM"},
        {{"app/Tarnbook.CHM"}, "app/Tarnbook.CHM"},
        {{"bin/Tarnbook.chm.bak", "app/Other.CHM"}, ""},
    };
    for (const Row& row : rows) {
        TempDir t;
        for (const std::string& f : row.present) tbtest::writeBytes(t.file(f), "ITSF");
        const std::string found = project::findHelpFile(t.file("bin"), t.file("app"));
        if (row.expected.empty() && found.rfind(t.path(), 0) != 0) continue;  // an installed copy
        EXPECT_EQ(found, row.expected.empty() ? "" : t.file(row.expected)) << row.present[0];
    }
}

TEST(HelpFiles, TheViewerIsTakenBesideTheProgramBeforeTheBuildTreesSibling) {
    TempDir t;
    const auto executable = [&](const std::string& f) {
        tbtest::writeBytes(t.file(f), "#!/bin/sh\n");
        chmod(t.file(f).c_str(), 0755);
    };
    executable("apps/gui/tarnbook");  // the running program
    executable("apps/view/tarnbook-view");
    EXPECT_EQ(project::findHelpViewer(t.file("apps/gui")),
              t.file("apps/gui/../view/tarnbook-view"));
    executable("apps/gui/tarnbook-view");
    EXPECT_EQ(project::findHelpViewer(t.file("apps/gui")), t.file("apps/gui/tarnbook-view"));
    // A file that cannot be run is no viewer.
    tbtest::writeBytes(t.file("other/tarnbook-view"), "");
    EXPECT_NE(project::findHelpViewer(t.file("other")), t.file("other/tarnbook-view"));
}
