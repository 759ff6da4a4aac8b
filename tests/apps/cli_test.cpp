#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BuildInfo.h"
#include "platform/Cp932.h"
#include "platform/Process.h"
#include "support/TempDir.h"

using tarnbook::testing::TempDir;
namespace fs = std::filesystem;

namespace {

const std::string kCli = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/cli/tarnbook-cli";

// Runs the program as a terminal would; arguments given here are UTF-8 like a terminal's.
int cli(const std::vector<std::string>& utf8Args, std::string* output) {
    std::vector<std::string> args;
    // Child arguments are core (CP932) paths; the child sees them as UTF-8 again.
    for (const std::string& a : utf8Args) args.push_back(tarnbook::platform::utf8ToCp932(a));
    return tarnbook::platform::runAndCapture(kCli, args, "", output);
}

}  // namespace

TEST(Cli, NewProjectNamesWithTrailByteBackslashAreAccepted) {
    TempDir home;
    // ソ, 表 and 能 end in the byte of '\' in Shift_JIS; they are ordinary name characters.
    for (const char* name : {"ソフト", "表示", "機能"}) {
        std::string out;
        EXPECT_EQ(cli({"--home", home.path(), "new", name}, &out), 0) << name << ": " << out;
        EXPECT_TRUE(fs::is_directory(home.path() + "/PROJECT/" + name)) << name;
    }
    std::string out;
    EXPECT_EQ(cli({"--home", home.path(), "new", "a/b"}, &out), 2);
    EXPECT_NE(out.find("cannot contain"), std::string::npos) << out;
}

// What scripts rely on: the version line, the documented exit codes, and a build whose
// captured output (not a terminal) carries no progress bar.
TEST(Cli, ScriptsGetTheVersionTheExitCodesAndNoProgressBar) {
    TempDir home;
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string expected;  // text the output must hold
    };
    const std::string version = std::string("tarnbook-cli ") + tarnbook::buildinfo::kProductVersion;
    const std::vector<Case> cases = {
        {{"--version"}, 0, version + "\n"},
        {{"--help"}, 0, "2  usage error"},
        {{"--home", home.path(), "no-such-command"}, 2, "unknown command"},
        {{"--home", home.path(), "build"}, 2, "usage:"},
        {{"--home", home.path(), "build", home.path() + "/missing.XHP"}, 2, "no project file"},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(cli(c.args, &out), c.status) << c.args.back() << ": " << out;
        EXPECT_NE(out.find(c.expected), std::string::npos) << c.args.back() << ": " << out;
    }

    TempDir work;
    fs::copy(std::string(TARNBOOK_SOURCE_DIR) + "/examples/sample", work.path(),
             fs::copy_options::recursive);
    for (const std::vector<std::string>& flags :
         {std::vector<std::string>{}, std::vector<std::string>{"--quiet"}}) {
        std::vector<std::string> args = {"--home", home.path()};
        args.insert(args.end(), flags.begin(), flags.end());
        args.insert(args.end(), {"build", work.path() + "/Sample.XHP"});
        std::string out;
        EXPECT_EQ(cli(args, &out), 0) << out;
        EXPECT_NE(out.find("compiled: "), std::string::npos) << out;
        EXPECT_EQ(out.find('\r'), std::string::npos) << out;
        EXPECT_EQ(out.find("%"), std::string::npos) << out;
    }
}
