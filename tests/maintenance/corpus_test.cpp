#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <regex>

#include "maintenance/Analysis.h"
#include "maintenance/ReferenceViews.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::maintenance {
namespace {

namespace fs = std::filesystem;

// The "Local" values of a sitemap's objects: the pages an imported contents tree would hold.
std::vector<std::string> sitemapPages(const std::string& sitemap) {
    static const std::regex local(R"re(name\s*=\s*"local"\s+value\s*=\s*"([^"]*)")re",
                                  std::regex::icase);
    std::vector<std::string> pages;
    for (std::sregex_iterator it(sitemap.begin(), sitemap.end(), local), end; it != end; ++it)
        pages.push_back((*it)[1]);
    return pages;
}

// A Workshop project folder seen as a resource folder: its pages are the default topic, the
// [FILES] entries of the .hhp and the pages of its contents file, as contents nodes would
// name them after an import.
AnalysisInput workshopFolderInput(const fs::path& hhp) {
    AnalysisInput in;
    in.resourceFolder = hhp.parent_path().string();
    bool inFiles = false;
    for (const std::string& line : platform::readLines(hhp.string())) {
        if (line.starts_with("[")) {
            inFiles = line.starts_with("[FILES]");
            continue;
        }
        if (line.starts_with("Default topic=")) in.nodes.push_back({"default", line.substr(14)});
        if (inFiles && !line.empty()) in.nodes.push_back({"file", line});
        if (line.starts_with("Contents file=")) {
            const auto hhc =
                platform::tryReadFile(platform::joinPath(in.resourceFolder, line.substr(14)));
            if (hhc)
                for (const std::string& page : sitemapPages(*hhc))
                    in.nodes.push_back({"node", page});
        }
    }
    return in;
}

TEST(MaintenanceCorpus, EveryWorkshopProjectRunsThrough) {
    const fs::path corpus = fs::path(TARNBOOK_CORPUS_DIR) / "hhp";
    ASSERT_TRUE(fs::is_directory(corpus)) << "the corpus is missing: " << corpus;
    std::size_t projects = 0;
    for (const auto& folder : fs::directory_iterator(corpus)) {
        for (const auto& e : fs::directory_iterator(folder.path())) {
            if (platform::lowerCaseSjis(e.path().extension().string()) != ".hhp") continue;
            ++projects;
            const auto result = analyze(workshopFolderInput(e.path()));
            ASSERT_TRUE(result);
            EXPECT_FALSE(result->scannedPages.empty()) << e.path();
            const Counters c = countersOf(*result);
            std::size_t broken = 0;
            for (const Reference& r : result->references) broken += r.broken() ? 1 : 0;
            std::cout << folder.path().filename().string() << ": scanned "
                      << result->scannedPages.size() << ", pages " << c.pages << ", files "
                      << c.files << ", external " << c.external << ", all " << c.all << ", unused "
                      << c.unused << ", broken " << broken << "\n";
        }
    }
    EXPECT_EQ(projects, 9u);
}

}  // namespace
}  // namespace tarnbook::maintenance
