#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/CaptureFiles.h"
#include "support/TempDir.h"

namespace tarnbook::testing {
namespace {

TEST(CaptureFiles, NumbersSkipTakenNamesAndNeverOverwrite) {
    TempDir dir;
    const std::string first = project::nextCaptureFile(dir.path());
    EXPECT_EQ(platform::fileNamePart(first), "Capture0001.bmp");
    writeBytes(first, "x");
    writeBytes(dir.file("Capture0003.bmp"), "x");
    EXPECT_EQ(platform::fileNamePart(project::nextCaptureFile(dir.path())), "Capture0002.bmp");
    platform::createFolder(dir.file("Capture0002.bmp"));  // a folder blocks its name too
    EXPECT_EQ(platform::fileNamePart(project::nextCaptureFile(dir.path())), "Capture0004.bmp");
}

}  // namespace
}  // namespace tarnbook::testing
