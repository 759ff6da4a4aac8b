#include "platform/Paths.h"

#include "platform/NativeStrings.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "platform/Cp932.h"

namespace tarnbook::platform {

namespace {

bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

std::size_t charLength(std::string_view s, std::size_t i) {
    if (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
        isTrailByte(static_cast<unsigned char>(s[i + 1])))
        return 2;
    return 1;
}

bool isSepChar(char c) {
    return c == '/' || c == '\\';
}

// Positions of the separators of `path` (never a trail byte).
std::vector<std::size_t> separators(std::string_view path) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < path.size(); i += charLength(path, i))
        if (isSepChar(path[i])) out.push_back(i);
    return out;
}

std::string convertSeparators(std::string_view path, char to) {
    std::string out(path);
    for (std::size_t i = 0; i < out.size(); i += charLength(out, i))
        if (isSepChar(out[i])) out[i] = to;
    return out;
}

bool existsNative(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

// The entry of `folder` whose name equals `name` without regard to ASCII case; "" if none.
// Several candidates (possible on a case-sensitive disk) resolve to the first in byte order.
std::string findNoCase(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return {};
    std::string wanted = asciiLower(name);
    std::string best;
    while (dirent* e = readdir(dir)) {
        std::string_view entry = e->d_name;
        if (entry.size() != wanted.size() || asciiLower(entry) != wanted) continue;
        if (best.empty() || entry < best) best = std::string(entry);
    }
    closedir(dir);
    return best;
}

}  // namespace

bool isSeparatorAt(std::string_view path, std::size_t index) {
    if (index >= path.size()) return false;
    std::size_t i = 0;
    while (i < index) i += charLength(path, i);
    return i == index && isSepChar(path[index]);
}

std::size_t lastSeparator(std::string_view path) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += charLength(path, i))
        if (isSepChar(path[i])) last = i;
    return last;
}

std::string fileNamePart(std::string_view path) {
    std::size_t sep = lastSeparator(path);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string folderPart(std::string_view path) {
    std::size_t sep = lastSeparator(path);
    if (sep == std::string_view::npos) return {};
    if (sep == 0) return std::string(path.substr(0, 1));  // the root keeps its separator
    return std::string(path.substr(0, sep));
}

std::string folderPartWithSeparator(std::string_view path) {
    std::size_t sep = lastSeparator(path);
    if (sep == std::string_view::npos) return {};
    return std::string(path.substr(0, sep + 1));
}

std::string extensionPart(std::string_view path) {
    std::string name = fileNamePart(path);
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < name.size(); i += charLength(name, i))
        if (name[i] == '.') dot = i;
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string changeExtension(std::string_view path, std::string_view extension) {
    std::string ext = extensionPart(path);
    std::string out(path.substr(0, path.size() - ext.size()));
    out += extension;
    return out;
}

std::string baseName(std::string_view path) {
    std::string name = fileNamePart(path);
    return name.substr(0, name.size() - extensionPart(name).size());
}

std::string joinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    std::string out(folder);
    if (!isSeparatorAt(folder, folder.size() - 1)) out += '/';
    out += name;
    return out;
}

bool isValidFileName(std::string_view cp932Name) {
    for (std::size_t i = 0; i < cp932Name.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(cp932Name[i])) && i + 1 < cp932Name.size()) {
            ++i;
            continue;
        }
        if (kForbiddenNameCharacters.find(cp932Name[i]) != std::string_view::npos) return false;
    }
    return true;
}

bool isAbsolutePath(std::string_view path) {
    return !path.empty() && isSepChar(path[0]);
}

std::string slashSeparators(std::string_view path) {
    return convertSeparators(path, '/');
}

std::string backslashSeparators(std::string_view path) {
    return convertSeparators(path, '\\');
}

std::string normalizeRelative(std::string_view path, bool* escapes) {
    if (escapes) *escapes = false;
    std::vector<std::size_t> seps = separators(path);
    char sep = '\\';
    if (!seps.empty()) sep = path[seps.front()];
    bool absolute = isAbsolutePath(path);

    std::vector<std::string> parts;
    std::size_t start = 0;
    seps.push_back(path.size());
    for (std::size_t s : seps) {
        std::string_view comp = path.substr(start, s - start);
        start = s + 1;
        if (comp.empty() || comp == ".") continue;
        if (comp == "..") {
            if (!parts.empty() && parts.back() != "..") {
                parts.pop_back();
                continue;
            }
            if (escapes) *escapes = true;
            if (absolute) continue;  // nothing above the root
        }
        parts.emplace_back(comp);
    }
    std::string out;
    if (absolute) out += sep;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out += sep;
        out += parts[i];
    }
    return out;
}

static std::string resolveNative(std::string_view cp932Path) {
    std::string native = cp932ToUtf8(slashSeparators(cp932Path));
    if (native.empty() || existsNative(native)) return native;

    // Resolve component by component; once one is missing the rest are kept as given.
    std::string out;
    std::size_t i = 0;
    if (native[0] == '/') {
        out = "/";
        i = 1;
    }
    bool resolving = true;
    while (i <= native.size()) {
        std::size_t slash = native.find('/', i);
        if (slash == std::string::npos) slash = native.size();
        std::string comp = native.substr(i, slash - i);
        bool last = slash == native.size();
        if (!comp.empty()) {
            std::string candidate = out + comp;
            if (resolving && comp != "." && comp != ".." && !existsNative(candidate)) {
                std::string match = findNoCase(out, comp);
                if (match.empty())
                    resolving = false;
                else
                    comp = match;
            }
            out += comp;
        }
        if (!last && (out.empty() || out.back() != '/')) out += '/';
        i = slash + 1;
    }
    return out;
}

NativePath nativePath(std::string_view cp932Path) {
    return NativePath(resolveNative(cp932Path));
}

std::string corePath(const NativePath& native) {
    return utf8ToCp932(native.str());
}

namespace detail {

std::string nativeString(std::string_view cp932Path) {
    return resolveNative(cp932Path);
}

std::string coreFromNative(std::string_view nativeUtf8Path) {
    return utf8ToCp932(nativeUtf8Path);
}

}  // namespace detail

}  // namespace tarnbook::platform
