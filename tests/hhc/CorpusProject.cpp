#include "CorpusProject.h"

#include <filesystem>

namespace tarnbook::testing {

namespace fs = std::filesystem;

std::string corpusFolder() {
    return TARNBOOK_CORPUS_DIR;
}

std::string copyCorpusProject(const TempDir& t, const std::string& name) {
    const std::string to = t.path() + "/a/b/" + name;
    fs::create_directories(to);
    fs::copy(corpusFolder() + "/hhp/" + name, to, fs::copy_options::recursive);
    for (const auto& e : fs::recursive_directory_iterator(to))
        fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    return to;
}

std::string findHhp(const std::string& folder) {
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".hhp") return e.path().string();
    return {};
}

}  // namespace tarnbook::testing
