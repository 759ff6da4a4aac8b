#pragma once
#include <string>
#include <string_view>

// What a reference value names, seen from the page that holds it. Values and paths are CP932;
// resolved paths are relative to the resource folder with '\' separators.
namespace tarnbook::maintenance {

enum class ReferenceKind {
    Page,      // a local .htm, .html, .php or .asp file
    File,      // any other local file
    External,  // an address with a scheme (http:, https:, ftp:, ms-its:, ...) or "//host"
};

struct ReferenceTarget {
    bool ignored = false;  // no file: "#fragment", mailto:, javascript:, data:, an empty value
    ReferenceKind kind = ReferenceKind::File;
    // Local: the path relative to the resource folder, "#..." and "?..." cut off, "." and ".."
    // resolved, '\' separators. External: the value as written.
    std::string path;
    // Local only: the path leaves the resource folder (too many "..", a drive or absolute path),
    // so the compiled help cannot hold it; `path` then keeps the climbing form.
    bool outside = false;
};

// Resolves `value` as found in the page `pageFolder` (relative to the resource folder, either
// separator, "" for the folder itself). A value starting with a separator is taken from the
// resource folder, which is the root of the compiled help.
ReferenceTarget resolveReference(std::string_view pageFolder, std::string_view value);

// The kind a local path has by its extension.
ReferenceKind localKind(std::string_view path);

// "%20" and the like decoded; the value itself when nothing is encoded. Pages may write a
// file's name either way, so both forms are looked up.
std::string percentDecoded(std::string_view path);

}  // namespace tarnbook::maintenance
