#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "compile/CompileRun.h"
#include "folderimport/FolderImport.h"
#include "platform/Cp932.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::folderimport;
using tarnbook::testing::readBytes;
namespace fs = std::filesystem;

namespace {

const std::string kDriver = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/hhc/tarnbook-hhc";

bool isNodeKind(const fs::path& p) {
    const std::string ext = platform::lowerCaseSjis(p.extension().string());
    return ext == ".htm" || ext == ".html" || ext == ".txt" || ext == ".eml" || ext == ".xml" ||
           ext == ".xhtml";
}

// Each corpus project's folder, imported whole into a new project: files arrive byte for
// byte in the mirrored folders, pages become items, folders headings, and the project builds.
TEST(CorpusImport, EveryCorpusFolderImportsCompletelyAndBuilds) {
    const fs::path corpus = fs::path(TARNBOOK_CORPUS_DIR) / "hhp";
    ASSERT_TRUE(fs::is_directory(corpus)) << "corpus missing: " << corpus;
    ASSERT_TRUE(fs::exists(kDriver)) << "build tarnbook-hhc first: " << kDriver;
    std::size_t projects = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        if (!entry.is_directory()) continue;
        ++projects;
        const std::string name = entry.path().filename().string();
        tarnbook::testing::WorkspaceFixture f;
        f.ws.settings.writeString("SYSTEM", "HHC", kDriver);
        for (const char* skipped : {"_note", "tmp", "temp", "bak"})
            f.ws.settings.writeInteger("FilterFolder", skipped, 1);
        ASSERT_TRUE(project::openProject(
            f.ws, f.makeProjectFile("Imported", "Version=249\r\nFileName=I.chm\r\n")));
        const ImportReport r = importFolderTree(f.ws, entry.path().string(), TitleSource::TitleTag);
        EXPECT_EQ(r.failed, 0u) << name;
        EXPECT_FALSE(r.cancelled) << name;

        const fs::path res = fs::path(f.ws.projectFolder()) / "_RESOURCE";
        std::size_t folders = 1, pages = 0;
        for (auto it = fs::recursive_directory_iterator(entry.path());
             it != fs::recursive_directory_iterator(); ++it) {
            const fs::path rel = fs::relative(it->path(), entry.path());
            if (it->is_directory()) {
                const std::string folder = it->path().filename().string();
                if (folder == "_note" || folder == "tmp" || folder == "temp" || folder == "bak") {
                    it.disable_recursion_pending();
                    EXPECT_FALSE(fs::exists(res / rel)) << name << ": " << rel;
                } else {
                    ++folders;
                    EXPECT_TRUE(fs::is_directory(res / rel)) << name << ": " << rel;
                }
                continue;
            }
            const std::string ext = platform::lowerCaseSjis(rel.extension().string());
            pages += isNodeKind(rel) ? 1 : 0;
            if (ext == ".txt" || ext == ".eml" || ext == ".xml" || ext == ".xhtml") continue;
            EXPECT_EQ(readBytes((res / rel).string()), readBytes(it->path().string()))
                << name << ": " << rel;
        }
        EXPECT_EQ(r.folders, folders) << name;
        EXPECT_EQ(r.items, pages) << name;
        EXPECT_EQ(f.ws.tree.count(), folders + pages) << name;

        project::saveProject(f.ws);
        const compile::CompileResult built = compile::goCompile(f.ws);
        EXPECT_EQ(built.outcome, compile::CompileOutcome::Succeeded)
            << name << ": " << readBytes(built.logPath);
    }
    EXPECT_GE(projects, 5u);
}

}  // namespace
