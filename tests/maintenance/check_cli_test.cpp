#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Process.h"
#include "support/TempDir.h"

namespace tarnbook::maintenance {
namespace {

namespace fs = std::filesystem;

const std::string kCli = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/cli/tarnbook-cli";
const std::string kSample = std::string(TARNBOOK_SOURCE_DIR) + "/examples/sample";

TEST(CheckCommand, ExitCodeFollowsBrokenReferences) {
    ASSERT_TRUE(fs::exists(kCli)) << "build tarnbook-cli first: " << kCli;
    testing::TempDir d;
    const std::string project = d.file("Sample/Sample.XHP");
    fs::copy(kSample, d.file("Sample"), fs::copy_options::recursive);
    const std::vector<std::string> home = {"--home", d.file("home")};
    auto run = [&](std::vector<std::string> args, std::string* out) {
        args.insert(args.begin(), home.begin(), home.end());
        return platform::runAndCapture(kCli, args, d.path(), out);
    };

    std::string out;
    EXPECT_EQ(run({"check", project}, &out), 0) << out;
    EXPECT_NE(out.find("Broken references: 0"), std::string::npos) << out;

    fs::remove(d.file("Sample/_RESOURCE/images/logo.gif"));
    EXPECT_EQ(run({"check", project}, &out), 1) << out;
    EXPECT_NE(out.find("index.htm:"), std::string::npos) << out;
    EXPECT_NE(out.find("images/logo.gif (missing: images\\logo.gif)"), std::string::npos) << out;

    EXPECT_EQ(run({"check", "--json", project}, &out), 1) << out;
    EXPECT_NE(out.find("\"ok\": false"), std::string::npos) << out;
    EXPECT_NE(out.find("{\"kind\": \"page\", \"name\": \"index.htm\", \"broken\": [{\"line\": "),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"value\": \"images/logo.gif\""), std::string::npos) << out;

    EXPECT_EQ(run({"check", d.file("none.XHP")}, &out), 2) << out;
    EXPECT_EQ(run({"check"}, &out), 2) << out;
}

}  // namespace
}  // namespace tarnbook::maintenance
