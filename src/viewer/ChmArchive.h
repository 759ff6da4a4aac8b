#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compile/ChmDirectory.h"

struct chmFile;

// A compiled help file opened for reading in place: its directory is checked by our own
// reader before chmlib sees the file, and entries are looked up in that directory (never
// through chmlib's own index walk) and read into memory, never onto disk.
namespace tarnbook::viewer {

class ChmArchive {
  public:
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // `path` is a core path. nullptr with a readable reason (UTF-8) for a file that is
    // missing, too large or not a sound compiled help file.
    static std::unique_ptr<ChmArchive> open(const std::string& path, std::string* error);

    const std::string& path() const { return path_; }

    // The entry of `name` ("/a/b.htm" or "a/b.htm"), ASCII letter case ignored as the
    // Windows viewer does; nullptr when there is none, it is a folder or the name has "."
    // or ".." parts.
    const compile::ChmDirectoryEntry* find(std::string_view name) const;

    // The bytes of an entry; nullopt (with the reason) for a missing, implausibly large or
    // damaged one.
    std::optional<std::string> read(std::string_view name, std::string* error = nullptr) const;

    // Names of every file entry (no folders, no "::" storage), in directory order.
    std::vector<std::string> fileNames() const;

  private:
    ChmArchive() = default;
    std::string path_;
    std::uint64_t fileSize_ = 0;
    compile::ChmDirectory directory_;
    std::unordered_map<std::string, std::size_t> byName_;  // lower-cased name -> entry
    chmFile* handle_ = nullptr;
};

// An entry name in the archive's lookup form: rooted with '/', ASCII letters in lower case.
std::string archiveKey(std::string_view name);

}  // namespace tarnbook::viewer
