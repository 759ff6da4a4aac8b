#include <chm_lib.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>

#include "../chm/ChmReaders.h"
#include "compile/BuildTestSupport.h"
#include "compile/CompileLogPage.h"
#include "compile/CompileRun.h"
#include "platform/Process.h"
#include "project/ProjectLifecycle.h"

namespace tarnbook::testing {
namespace {

namespace fs = std::filesystem;

const std::string kSample = std::string(TARNBOOK_SOURCE_DIR) + "/examples/sample";
const std::string kDriver = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/hhc/tarnbook-hhc";

std::map<std::string, std::string> filesUnder(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[fs::relative(e.path(), root).generic_string()] = readBytes(e.path().string());
    return files;
}

// Reads entries of a compiled help file with chmlib.
class ChmReader {
  public:
    explicit ChmReader(const std::string& path) : file_(chm_open(path.c_str())) {}
    ~ChmReader() {
        if (file_) chm_close(file_);
    }
    bool ok() const { return file_ != nullptr; }
    std::optional<std::string> read(const std::string& name) {
        chmUnitInfo ui;
        if (chm_resolve_object(file_, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return {};
        std::string bytes(static_cast<std::size_t>(ui.length), '\0');
        const LONGINT64 got =
            chm_retrieve_object(file_, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                static_cast<LONGINT64>(ui.length));
        if (got != static_cast<LONGINT64>(ui.length)) return {};
        return bytes;
    }

  private:
    chmFile* file_;
};

TEST(Sample, CommittedFilesAreWhatTheGeneratorWrites) {
    TempDir d;
    const std::string out = d.file("gen");
    std::string output;
    ASSERT_EQ(platform::runAndCapture(MAKE_SAMPLE_PATH, {out}, "", &output), 0) << output;
    const auto generated = filesUnder(out);
    const auto committed = filesUnder(kSample);
    ASSERT_EQ(generated.size(), committed.size());
    for (const auto& [name, bytes] : generated) {
        auto it = committed.find(name);
        ASSERT_NE(it, committed.end()) << name;
        EXPECT_EQ(it->second, bytes) << name << " differs: run make_sample examples/sample";
    }
}

TEST(Sample, CompilesIntoAHelpFileThatReadsBack) {
    if (!platform::fileExists(kDriver) || platform::findExecutable("chmcmd").empty())
        GTEST_SKIP() << "needs the built tarnbook-hhc and chmcmd (fp-utils)";
    TempDir d;
    const std::string folder = d.file("Sample");
    fs::copy(kSample, folder, fs::copy_options::recursive);

    FakePrompts prompts;
    FakePreview preview;
    FakeEditor editor;
    FakeStatus status;
    project::Workspace ws{prompts, preview, editor, status};
    ws.settings.writeString("SYSTEM", "HHC", kDriver);
    ASSERT_TRUE(project::openProject(ws, folder + "/Sample.XHP"));
    const auto r = compile::goCompile(ws);
    ASSERT_EQ(r.outcome, compile::CompileOutcome::Succeeded) << readBytes(folder + "/Compile.Log");
    EXPECT_EQ(r.chmPath, folder + "/Sample.chm");
    for (const auto& f : compile::compileLogFindings(r.logPath)) EXPECT_FALSE(f.error) << f.line;

    ChmReader chm(r.chmPath);
    ASSERT_TRUE(chm.ok());
    // Every page and picture, byte for byte.
    for (const auto& [name, bytes] : filesUnder(folder + "/_RESOURCE")) {
        auto stored = chm.read("/_RESOURCE/" + name);
        ASSERT_TRUE(stored) << name;
        EXPECT_EQ(*stored, bytes) << name;
    }
    // The sitemaps as the build wrote them.
    auto hhc = chm.read("/Sample.hhc");
    auto hhk = chm.read("/Sample.hhk");
    ASSERT_TRUE(hhc && hhk);
    EXPECT_EQ(*hhc, readBytes(folder + "/Sample.hhc"));
    EXPECT_EQ(*hhk, readBytes(folder + "/Sample.hhk"));
    EXPECT_NE(hhk->find(platform::utf8ToCp932("使用許諾")), std::string::npos);

    // Title and window definition.
    auto system = chm.read("/#SYSTEM");
    auto strings = chm.read("/#STRINGS");
    auto windows = chm.read("/#WINDOWS");
    ASSERT_TRUE(system && strings && windows);
    const std::string title = platform::utf8ToCp932("サンプルヘルプ");
    EXPECT_NE(system->find(title), std::string::npos);
    EXPECT_NE(strings->find(std::string("XHP") + '\0'), std::string::npos);
    ASSERT_GE(windows->size(), 8u);
    EXPECT_GE(static_cast<unsigned char>((*windows)[0]), 1);  // at least one window

    // The map file's context IDs.
    auto ivb = chm.read("/#IVB");
    ASSERT_TRUE(ivb);
    auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>((*ivb)[at + i])) << (8 * i);
        return v;
    };
    std::vector<std::uint32_t> ids;
    for (std::size_t at = 4; at + 8 <= ivb->size(); at += 8) ids.push_back(u32(at));
    for (std::uint32_t id : {1000u, 1010u, 1020u, 1030u, 1040u})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;

    // libmspack reads the same bytes, and chmls names each context number's page relative
    // to the project.
    const auto mspack = chmtest::readWithMspack(r.chmPath);
    ASSERT_EQ(mspack.error, "");
    for (const auto& [name, bytes] : filesUnder(folder + "/_RESOURCE"))
        EXPECT_EQ(mspack.entries.count("/_RESOURCE/" + name)
                      ? mspack.entries.at("/_RESOURCE/" + name)
                      : std::string(),
                  bytes)
            << name;
    std::string out;
    // chmls extracts the same bytes too.
    const std::string extracted = d.file("extracted");
    ASSERT_EQ(
        platform::runAndCapture("chmls", {"extractall", r.chmPath, extracted}, d.path(), &out), 0)
        << out;
    EXPECT_EQ(filesUnder(extracted + "/_RESOURCE"), filesUnder(folder + "/_RESOURCE"));
    ASSERT_EQ(platform::runAndCapture("chmls", {"extractalias", r.chmPath}, d.path(), &out), 0)
        << out;
    const std::string ali = readBytes(folder + "/Sample.ali");  // chmls writes beside the file
    for (const char* id : {"1000", "1010", "1020", "1030", "1040"})
        EXPECT_NE(ali.find(std::string("helpid") + id + "=_RESOURCE/"), std::string::npos)
            << id << "\n"
            << ali;
}

}  // namespace
}  // namespace tarnbook::testing
