#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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
