#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "SiteCheck.h"
#include "webexport/HtmlScanner.h"
#include "webexport/WebExport.h"
#include "workshopimport/ImportFixture.h"

namespace tarnbook::webexport {
namespace {

namespace fs = std::filesystem;

const std::string kCorpus = std::string(TARNBOOK_CORPUS_DIR) + "/hhp";

class CorpusExport : public ::testing::TestWithParam<std::string> {};

// Real Workshop projects, imported with their files copied into the resource folder (without
// the copy the project has no pages to export), then exported: every page the
// contents name is written, and the site has no broken link the source did not have.
TEST_P(CorpusExport, ExportsWithoutNewBrokenLinks) {
    ASSERT_TRUE(fs::is_directory(kCorpus))
        << "the Workshop corpus is missing: expected " << kCorpus;
    const std::string folder = kCorpus + "/" + GetParam();
    ASSERT_TRUE(fs::is_directory(folder)) << "no corpus project at " << folder;
    std::string hhc;
    for (const auto& e : fs::directory_iterator(folder))
        if (asciiLower(e.path().extension().string()) == ".hhc") hhc = e.path().filename().string();
    ASSERT_FALSE(hhc.empty()) << folder;

    testing::ImportFixture f;
    f.workshop = folder;
    const auto imported = f.run(hhc, true);
    ASSERT_GT(imported.nodes, 0u);

    const std::string out = f.dir.file("site");
    const WebExportResult r = exportWebSite({f.projectFolder, f.tree, f.project}, {"", "", out});
    EXPECT_GT(r.pages, 0u);

    const auto check = testing::checkSite(out);
    for (const std::string& broken : check.brokenLinks) {
        const std::string url = broken.substr(broken.find(": ") + 2);
        bool brokenInSource = false;
        for (const auto& w : r.warnings)
            brokenInSource |=
                w.size() >= url.size() && w.compare(w.size() - url.size(), url.size(), url) == 0;
        EXPECT_TRUE(brokenInSource) << "new broken link " << broken;
    }
    EXPECT_FALSE(check.tocUrls.empty());
    std::printf("%s: %zu pages, %zu other files, %zu links broken in the source, %zu in the site\n",
                GetParam().c_str(), r.pages, r.files, r.brokenLinks, check.brokenLinks.size());
}

// Every project of the corpus; a missing corpus leaves one case that fails and says so.
std::vector<std::string> corpusProjects() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(kCorpus, ec))
        if (e.is_directory()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    if (names.empty()) names.push_back("corpus-missing");
    return names;
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusExport, ::testing::ValuesIn(corpusProjects()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace tarnbook::webexport
