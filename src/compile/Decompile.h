#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Unpacking a compiled help file into a folder, in process (chmlib), never writing outside
// the folder.
namespace tarnbook::compile {

struct DecompileResult {
    bool opened = false;                // false: the file is not a readable compiled help file
    std::string error;                  // why it could not be opened or why reading stopped
    std::size_t entries = 0;            // every directory entry seen (folders and storage too)
    std::size_t filesWritten = 0;       // files written into the output folder
    std::size_t internalSkipped = 0;    // the container's own entries, left out unless asked
    std::vector<std::string> warnings;  // skipped, renamed or unreadable entries, one line each
};

struct DecompileOptions {
    // The container's own entries ("#SYSTEM", "$FIftiMain", "::DataSpace/...") are written
    // too; an author seldom wants them.
    bool includeInternal = false;
    // Called with the result so far before the first entry and after each: (result, entries
    // done, entries to do).
    std::function<void(const DecompileResult&, std::size_t, std::size_t)> observe;
};

// (files done, files to do); called before the first and after every file.
using DecompileProgress = std::function<void(std::size_t done, std::size_t total)>;

// Extracts every file entry (pages, pictures; the container's own entries only when asked)
// of `chmPath` into `outputFolder` (core paths), creating the folder and sub-folders as
// needed. Names that would leave the folder, or reach a symbolic link already inside it, are
// skipped; names that collide once converted get distinct ones; all is reported in the
// warnings. Runs the CHM library in this process: see DecompileIsolated.h for hostile files.
DecompileResult decompileChm(const std::string& chmPath, const std::string& outputFolder,
                             const DecompileProgress& progress = {},
                             const DecompileOptions& options = {});

// The relative core path (CP932, '/' separators) an entry is written to, or nullopt when the
// entry must not be written: folders, storage entries ("::..."), and names with "..", ".",
// empty parts, backslashes, drive letters, control characters or a second leading '/'.
// `reason` says why a file entry was refused (empty for folders and storage entries).
std::optional<std::string> safeEntryPath(std::string_view entryName, std::string* reason = nullptr);

}  // namespace tarnbook::compile
