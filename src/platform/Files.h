#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Paths.h"

// File operations. Every path argument is a core path (CP932, either separator) and is
// resolved through nativePath(). Operations that the program relies on succeeding throw
// IoError with a readable message; the ones whose callers test the outcome return bool.
namespace tarnbook::platform {

bool fileExists(std::string_view path);      // a regular file
bool folderExists(std::string_view path);    // a directory
bool pathExists(std::string_view path);      // either
bool isSymbolicLink(std::string_view path);  // the entry itself is a link, wherever it points

std::string readFile(std::string_view path);  // throws IoError
std::optional<std::string> tryReadFile(std::string_view path);

// Splits bytes into lines at CR LF, LF or a lone CR; no line keeps its terminator. A final
// terminator does not produce an empty last line.
std::vector<std::string> splitLines(std::string_view bytes);
std::vector<std::string> readLines(std::string_view path);  // throws IoError

// Joins lines, each ending with CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// Writes to a temporary file in the same folder and renames it over `path`, so readers see
// either the old or the new contents. Throws IoError; the old file stays on failure.
// Synced writes reach the disk before the rename (the author's project files and pages);
// Unsynced ones are still replaced atomically but skip the flush, for files the program can
// regenerate (build intermediates, decompiled entries), where a flush per file is costly.
enum class Durability { Synced, Unsynced };

void writeFileAtomic(std::string_view path, std::string_view bytes,
                     Durability durability = Durability::Synced);
void writeLinesCrLf(std::string_view path, const std::vector<std::string>& lines,
                    Durability durability = Durability::Synced);

// Streaming form of the atomic write for large files: `produce` is called with a sink that
// appends bytes; the file replaces `path` only when `produce` returns normally.
void writeFileAtomicStreamed(
    std::string_view path,
    const std::function<void(const std::function<void(std::string_view)>&)>& produce,
    Durability durability = Durability::Synced);

// Removes the temporary siblings an interrupted atomic write of `path` left behind (the
// process was killed between creating and renaming them). Returns how many were removed.
int removeInterruptedWrites(std::string_view path);

// Copies a file. With failIfExists an existing target is left alone and false returned.
// On failure `reason`, when given, receives the message naming the file and the system's
// reason.
bool copyFile(std::string_view from, std::string_view to, bool failIfExists,
              Durability durability = Durability::Synced, std::string* reason = nullptr);
bool renameFile(std::string_view from, std::string_view to);
bool deleteFile(std::string_view path);
bool deleteFolderTree(std::string_view path);
// Removes a folder only when it is empty; false otherwise.
bool removeEmptyFolder(std::string_view path);

// -1 when the file does not exist.
std::int64_t fileSize(std::string_view path);
// Modification time in seconds since the epoch; -1 when the file does not exist.
std::int64_t fileAge(std::string_view path);
bool setFileAge(std::string_view path, std::int64_t secondsSinceEpoch);

struct FolderEntry {
    std::string name;  // CP932
    bool isFolder = false;
    std::int64_t size = 0;
    std::int64_t modified = 0;
    bool isLink = false;  // a symbolic link (isFolder and size describe what it points at)
};
// Entries of a folder, without "." and "..", sorted by name. Empty when it cannot be read.
std::vector<FolderEntry> listFolder(std::string_view path);

// The absolute path with every symbolic link and "."/".." resolved; empty when it does not
// exist. Lets a walker tell whether a link leads out of the tree it walks.
std::string resolvedPath(std::string_view path);

// Creates the folder and any missing parents. False when it cannot.
bool createFolders(std::string_view path);
// Creates exactly this folder; false when it exists already or cannot be made.
bool createFolder(std::string_view path);

// A new empty file in the temporary folder whose name starts with `prefix` (e.g. "QLT").
// Returns its core path. Throws IoError.
std::string makeTempFile(std::string_view prefix, std::string_view extension = {});
std::string tempFolder();

// The per-user app folder: $XDG_DATA_HOME/Tarnbook (default ~/.local/share/Tarnbook),
// or the folder given to setAppFolderOverride (--home DIR). Core path, no trailing '/'.
std::string appFolder();
void setAppFolderOverride(const NativePath& folder);

// The folder that holds the running executable (core path).
std::string programFolder();

// The user's home and desktop folders (core paths).
std::string homeFolder();
std::string desktopFolder();

}  // namespace tarnbook::platform
