#pragma once
#include <string>
#include <string_view>

// Path text helpers. Paths in the core are CP932 bytes; both '\' and '/' separate (a '\'
// that is the trail byte of a double-byte character does not). Stored relative paths keep
// '\'; absolute paths of this machine are native ('/').
namespace tarnbook::platform {

bool isSeparatorAt(std::string_view path, std::size_t index);

// Index of the last separator, honouring double-byte characters; npos when there is none.
std::size_t lastSeparator(std::string_view path);

// "a\b\c.htm" -> "c.htm"
std::string fileNamePart(std::string_view path);
// "a\b\c.htm" -> "a\b" (no trailing separator; "" when there is no folder part)
std::string folderPart(std::string_view path);
// "a\b\c.htm" -> "a\b\" (with the trailing separator)
std::string folderPartWithSeparator(std::string_view path);
// "a\b\c.htm" -> ".htm" ("" when the file name has no dot)
std::string extensionPart(std::string_view path);
// "a\b\c.htm", ".html" -> "a\b\c.html"
std::string changeExtension(std::string_view path, std::string_view extension);
// File name without its extension.
std::string baseName(std::string_view path);

// Joins with '/' unless `folder` already ends in a separator.
std::string joinPath(std::string_view folder, std::string_view name);

bool isAbsolutePath(std::string_view path);

// The characters a file, page or project name may not hold: \ / : , ; * ? " < > |
inline constexpr std::string_view kForbiddenNameCharacters = "\\/:,;*?\"<>|";
// True when the CP932 name holds none of them. The second byte of a double-byte character
// (the 0x5C of ソ, 表 or 能) is part of that character, not a separator.
bool isValidFileName(std::string_view cp932Name);

// Converts every separator to '/' (keeps trail bytes intact). Still CP932.
std::string slashSeparators(std::string_view path);
// Converts every separator to '\' (stored form). Still CP932.
std::string backslashSeparators(std::string_view path);

// Removes "." and "x/.." components; sets `*escapes` to true when ".." would climb above
// the start of the path (such ".." components are kept in a relative result).
std::string normalizeRelative(std::string_view path, bool* escapes = nullptr);

// A path as the operating system takes it: UTF-8 bytes with '/' separators. It has a type of
// its own so that the compiler refuses to mix it with the core's CP932 paths; the only ways
// between the two are nativePath() and corePath().
class NativePath {
  public:
    NativePath() = default;
    explicit NativePath(std::string utf8) : utf8_(std::move(utf8)) {}
    const std::string& str() const { return utf8_; }
    const char* c_str() const { return utf8_.c_str(); }
    bool empty() const { return utf8_.empty(); }
    bool operator==(const NativePath&) const = default;

  private:
    std::string utf8_;
};

// The native (UTF-8) path the file system should use for a core path: separators made '/',
// and, when the path does not exist as written, each component matched without regard to
// letter case against the existing entries. Components that do not exist are kept as given,
// so a new file is created with its given name inside the resolved folder.
NativePath nativePath(std::string_view cp932Path);

// The core (CP932) form of a native UTF-8 path.
std::string corePath(const NativePath& native);

}  // namespace tarnbook::platform
