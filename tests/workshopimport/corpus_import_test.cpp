#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "ImportFixture.h"
#include "compile/Decompile.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "workshopimport/LocalPath.h"

namespace tarnbook::testing {
namespace {

namespace fs = std::filesystem;

const std::string kCorpus = std::string(TARNBOOK_CORPUS_DIR) + "/hhp";
const std::string kCli = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/cli/tarnbook-cli";

// A second, deliberately simple reading of a sitemap with regular expressions, as the oracle:
// list depth from <UL>/</UL>, objects of type text/sitemap that have a Name param.
std::vector<std::pair<int, std::vector<std::string>>> namedObjects(const std::string& text) {
    static const std::regex token(R"(<(/?)(ul|object)\b[^>]*>)", std::regex::icase);
    static const std::regex named(R"(<param\s+name\s*=\s*"?name"?\s)", std::regex::icase);
    static const std::regex sitemap(R"(type\s*=\s*"?text/sitemap)", std::regex::icase);
    static const std::regex local(R"(<param\s+name\s*=\s*"local"\s+value\s*=\s*"([^"]*)\")",
                                  std::regex::icase);
    std::vector<std::pair<int, std::vector<std::string>>> out;
    int depth = -1;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), token);
         it != std::sregex_iterator(); ++it) {
        const std::string tag = platform::upperCaseSjis((*it)[2].str());
        const bool closing = (*it)[1].length() > 0;
        if (tag == "UL") {
            depth += closing ? -1 : 1;
            continue;
        }
        if (closing || !std::regex_search(it->str(), sitemap)) continue;
        const std::size_t start = static_cast<std::size_t>(it->position() + it->length());
        const std::size_t end = platform::upperCaseSjis(text).find("</OBJECT>", start);
        const std::string body = text.substr(start, end - start);
        if (!std::regex_search(body, named)) continue;
        std::vector<std::string> locals;
        for (auto l = std::sregex_iterator(body.begin(), body.end(), local);
             l != std::sregex_iterator(); ++l)
            locals.push_back((*l)[1].str());
        out.push_back({depth, locals});
    }
    return out;
}

std::string onlyFile(const std::string& folder, const std::string& extension) {
    for (const auto& e : fs::directory_iterator(folder))
        if (platform::upperCaseSjis(e.path().extension().string()) == extension)
            return e.path().string();
    return {};
}

std::vector<int> depthsOf(const project::ContentTree& tree, std::size_t from) {
    std::vector<int> depths;
    const auto all = tree.preorder();
    for (std::size_t i = from; i < all.size(); ++i) depths.push_back(all[i]->depth());
    return depths;
}

class CorpusProject : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(kCorpus))
            << "the Workshop corpus is missing: expected " << kCorpus;
        folder = kCorpus + "/" + GetParam();
        hhc = onlyFile(folder, ".HHC");
        ASSERT_FALSE(hhc.empty()) << folder;
    }
    std::string folder, hhc;
};

TEST_P(CorpusProject, ImportsEveryNamedObjectAtItsDepthWithKeywords) {
    ImportFixture f;
    f.tree.appendChild(nullptr, std::make_unique<project::TreeNode>());  // an existing node
    const auto r =
        workshopimport::importWorkshopProject({f.tree, f.project, f.projectFolder}, hhc, {});
    ASSERT_TRUE(r.contentsFound);
    const auto objects = namedObjects(readBytes(hhc));
    std::vector<int> expectedDepths;
    std::set<std::string> pages;
    for (const auto& [depth, locals] : objects) {
        expectedDepths.push_back(depth);
        if (locals.empty()) continue;
        const auto t = workshopimport::classifyLocal(locals.front());
        pages.insert(workshopimport::pageKey(t.page));
    }
    EXPECT_EQ(r.nodes, objects.size());
    EXPECT_EQ(depthsOf(f.tree, 1), expectedDepths);
    EXPECT_FALSE(r.helpName.empty());

    // Every index target whose page the contents have gives its node keywords.
    ASSERT_FALSE(r.indexFile.empty());
    std::size_t outside = 0, inside = 0;
    for (const auto& object : namedObjects(readBytes(r.indexFile))) {
        for (const std::string& local : object.second) {
            const auto t = workshopimport::classifyLocal(local);
            if (t.kind == workshopimport::LocalTarget::Kind::None) continue;
            (pages.count(workshopimport::pageKey(t.page)) ? inside : outside)++;
        }
    }
    EXPECT_EQ(r.indexTargetsUnmatched, outside);
    if (inside > 0) {
        EXPECT_GT(r.nodesWithKeywords, 0u);
    }
}

TEST_P(CorpusProject, CopiedProjectBuildsAndGivesBackEveryPage) {
    ImportFixture f;
    writeBytes(f.projectFolder + "/Proj.XHP", "[XHP]\r\nVersion=249\r\nPDir=" + f.projectFolder +
                                                  "\r\nName=Proj\r\nXHP=" + f.projectFolder +
                                                  "/Proj.XHP\r\nXHC=" + f.projectFolder +
                                                  "/Proj.XHC\r\nFileName=Proj.chm\r\n");
    const std::string home = f.dir.file("home");
    std::string out;
    ASSERT_EQ(platform::runAndCapture(kCli,
                                      {"--home", home, "import-hhp", f.projectFolder + "/Proj.XHP",
                                       hhc, "--copy-resources"},
                                      "", &out),
              0)
        << out;
    // chmcmd, the compiler's back end, reports pages its HTML parser cannot read as errors but
    // still stores them; that is no fault of the import, anything else is.
    if (platform::runAndCapture(kCli, {"--home", home, "build", f.projectFolder + "/Proj.XHP"}, "",
                                &out) != 0) {
        for (const std::string& line : platform::splitLines(out)) {
            if (line.find("Error") != std::string::npos) {
                EXPECT_NE(line.find("Html parsing"), std::string::npos) << line;
            }
        }
    }
    const std::string unpacked = f.dir.file("unpacked");
    ASSERT_TRUE(compile::decompileChm(f.projectFolder + "/Proj.chm", unpacked).opened);
    std::size_t compared = 0;
    for (const auto& object : namedObjects(readBytes(hhc))) {
        if (object.second.empty()) continue;
        const auto t = workshopimport::classifyLocal(object.second.front());
        if (t.kind != workshopimport::LocalTarget::Kind::Page) continue;
        const std::string original = folder + "/" + platform::slashSeparators(t.page);
        if (!platform::fileExists(original)) continue;  // a broken link of the original
        const std::string back = unpacked + "/_RESOURCE/" + platform::slashSeparators(t.page);
        ASSERT_TRUE(platform::fileExists(back)) << t.page;
        EXPECT_EQ(platform::readFile(back), platform::readFile(original)) << t.page;
        ++compared;
    }
    EXPECT_GT(compared, 0u);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusProject,
                         ::testing::Values("DOOMer-qkeysequencewidget-doc-html",
                                           "KuzuBukuroZard-VentangleCHM", "delphidabbler-vied-help",
                                           "hex-ci-Othello-Help", "hibara-AttacheCase-help",
                                           "kkimmg-TimeTableManager-help",
                                           "penguinlogic-Penguin-Logic-help",
                                           "sannybuilder-help-system-en", "scummvm-scummex-help"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace tarnbook::testing
