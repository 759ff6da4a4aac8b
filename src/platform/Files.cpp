#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/NativeStrings.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"

namespace tarnbook::platform {

namespace {

std::string appFolderOverride;

[[noreturn]] void fail(FileAction action, const std::string& nativeFile, int err) {
    throw IoError(failureText(action, nativeFile, err));
}

bool statNative(const std::string& native, struct stat* st) {
    return !native.empty() && stat(native.c_str(), st) == 0;
}

std::string nativeFolderOf(const std::string& native) {
    std::size_t slash = native.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return native.substr(0, slash);
}

void writeAll(int fd, std::string_view bytes, const std::string& native) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(FileAction::Write, native, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// The temporary file of an atomic write; removed unless committed.
// The name of a temporary sibling before its six random characters: ".NAME.".
std::string tempNamePrefix(const std::string& target) {
    std::string name =
        target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
    // A name near the length limit would leave no room for the ".XXXXXX" part.
    if (name.size() > 200) name.resize(200);
    return "." + name + ".";
}

class TempSibling {
  public:
    explicit TempSibling(const std::string& target) : target_(target) {
        std::string folder = nativeFolderOf(target);
        path_ = (folder == "/" ? "/" : folder + "/") + tempNamePrefix(target) + "XXXXXX";
        fd_ = mkostemp(path_.data(), O_CLOEXEC);
        if (fd_ < 0) fail(FileAction::CreateIn, folder, errno);
        struct stat st;
        mode_t mode = 0644;
        if (stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
        fchmod(fd_, mode);
    }
    ~TempSibling() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(path_.c_str());
    }
    TempSibling(const TempSibling&) = delete;
    TempSibling& operator=(const TempSibling&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }

    void finish(bool sync) {
        if (sync && fsync(fd_) != 0) fail(FileAction::Write, target_, errno);
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail(FileAction::Write, target_, errno);
    }
    // Replaces the target; with noReplace an existing target is kept and false returned.
    bool commit(bool noReplace, bool sync = true) {
        finish(sync);
        if (noReplace) {
            if (::link(path_.c_str(), target_.c_str()) != 0) {
                if (errno == EEXIST) return false;
                fail(FileAction::Create, target_, errno);
            }
            ::unlink(path_.c_str());
        } else if (::rename(path_.c_str(), target_.c_str()) != 0) {
            fail(FileAction::Replace, target_, errno);
        }
        committed_ = true;
        if (sync) syncFolder();
        return true;
    }

  private:
    void syncFolder() {
        int dfd = ::open(nativeFolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            fsync(dfd);
            ::close(dfd);
        }
    }
    std::string target_;
    std::string path_;
    int fd_ = -1;
    bool committed_ = false;
};

// Writes what `produce` gives into a temporary sibling of `native` and moves it into place.
bool writeAtomicNative(
    const std::string& native,
    const std::function<void(const std::function<void(std::string_view)>&)>& produce,
    bool noReplace, bool sync = true) {
    if (native.empty()) throw IoError("Cannot write a file without a name");
    TempSibling temp(native);
    std::string buffer;
    constexpr std::size_t kChunk = 1 << 16;
    auto sink = [&](std::string_view bytes) {
        if (buffer.size() + bytes.size() < kChunk) {
            buffer.append(bytes);
            return;
        }
        writeAll(temp.fd(), buffer, native);
        buffer.clear();
        if (bytes.size() >= kChunk)
            writeAll(temp.fd(), bytes, native);
        else
            buffer.append(bytes);
    };
    produce(sink);
    writeAll(temp.fd(), buffer, native);
    return temp.commit(noReplace, sync);
}

std::string readNative(const std::string& native, int* err) {
    int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *err = errno;
        return {};
    }
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        *err = EISDIR;
        return {};
    }
    std::string out;
    if (st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            *err = errno;
            ::close(fd);
            return {};
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    *err = 0;
    return out;
}

std::string envFolder(const char* name) {
    const char* v = std::getenv(name);
    if (!v || v[0] != '/') return {};
    std::string s = v;
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string nativeHome() {
    std::string home = envFolder("HOME");
    if (!home.empty()) return home;
    if (passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

}  // namespace

bool fileExists(std::string_view path) {
    struct stat st;
    return statNative(detail::nativeString(path), &st) && S_ISREG(st.st_mode);
}

bool folderExists(std::string_view path) {
    struct stat st;
    return statNative(detail::nativeString(path), &st) && S_ISDIR(st.st_mode);
}

bool pathExists(std::string_view path) {
    struct stat st;
    return statNative(detail::nativeString(path), &st);
}

bool isSymbolicLink(std::string_view path) {
    struct stat st;
    return ::lstat(detail::nativeString(path).c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string readFile(std::string_view path) {
    std::string native = detail::nativeString(path);
    int err = 0;
    std::string bytes = readNative(native, &err);
    if (err) fail(FileAction::Read, native, err);
    return bytes;
}

std::optional<std::string> tryReadFile(std::string_view path) {
    int err = 0;
    std::string bytes = readNative(detail::nativeString(path), &err);
    if (err) return std::nullopt;
    return bytes;
}

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::vector<std::string> readLines(std::string_view path) {
    return splitLines(readFile(path));
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const auto& l : lines) total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void writeFileAtomic(std::string_view path, std::string_view bytes, Durability durability) {
    writeAtomicNative(
        detail::nativeString(path),
        [&](const std::function<void(std::string_view)>& sink) { sink(bytes); }, false,
        durability == Durability::Synced);
}

void writeLinesCrLf(std::string_view path, const std::vector<std::string>& lines,
                    Durability durability) {
    writeFileAtomic(path, joinLinesCrLf(lines), durability);
}

void writeFileAtomicStreamed(
    std::string_view path,
    const std::function<void(const std::function<void(std::string_view)>&)>& produce,
    Durability durability) {
    writeAtomicNative(detail::nativeString(path), produce, false, durability == Durability::Synced);
}

bool copyFile(std::string_view from, std::string_view to, bool failIfExists, Durability durability,
              std::string* reason) {
    std::string src = detail::nativeString(from);
    std::string dst = detail::nativeString(to);
    auto failed = [&](const std::string& file, int err) {
        if (reason) *reason = failureText(FileAction::Copy, file, err);
        return false;
    };
    struct stat st;
    if (!statNative(src, &st)) return failed(src, errno ? errno : ENOENT);
    if (!S_ISREG(st.st_mode)) return failed(src, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    struct stat dstSt;
    if (statNative(dst, &dstSt)) {
        if (failIfExists) return failed(dst, EEXIST);
        // A file copied onto itself would be emptied.
        if (dstSt.st_dev == st.st_dev && dstSt.st_ino == st.st_ino) return failed(dst, EEXIST);
    }
    int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return failed(src, errno);
    bool ok = false;
    try {
        ok = writeAtomicNative(
            dst,
            [&](const std::function<void(std::string_view)>& sink) {
                char buf[1 << 16];
                for (;;) {
                    ssize_t n = ::read(in, buf, sizeof buf);
                    if (n < 0 && errno == EINTR) continue;
                    if (n < 0) fail(FileAction::Read, src, errno);
                    if (n == 0) break;
                    sink(std::string_view(buf, static_cast<std::size_t>(n)));
                }
            },
            failIfExists, durability == Durability::Synced);
        if (!ok && reason) *reason = failureText(FileAction::Copy, dst, EEXIST);
    } catch (const IoError& e) {
        ok = false;
        if (reason) *reason = e.what();
    }
    ::close(in);
    if (ok) {
        // A copy keeps the modification time of its original.
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        utimensat(AT_FDCWD, dst.c_str(), times, 0);
    }
    return ok;
}

bool renameFile(std::string_view from, std::string_view to) {
    std::string src = detail::nativeString(from);
    struct stat srcSt;
    if (src.empty() || lstat(src.c_str(), &srcSt) != 0) return false;
    // The new name is used as given (a rename may just change the case), inside the
    // resolved folder; an existing different file is not replaced.
    std::string toSlashed = cp932ToUtf8(slashSeparators(to));
    std::string name =
        toSlashed.substr(toSlashed.rfind('/') == std::string::npos ? 0 : toSlashed.rfind('/') + 1);
    if (name.empty()) return false;
    std::string folder = folderPartWithSeparator(to);
    std::string dst = folder.empty() ? name : detail::nativeString(folder);
    if (!folder.empty()) {
        if (dst.back() != '/') dst += '/';
        dst += name;
    }
    struct stat dstSt;
    std::string existing = detail::nativeString(to);
    if (lstat(existing.c_str(), &dstSt) == 0 &&
        !(dstSt.st_dev == srcSt.st_dev && dstSt.st_ino == srcSt.st_ino))
        return false;
    return ::rename(src.c_str(), dst.c_str()) == 0;
}

bool deleteFile(std::string_view path) {
    std::string native = detail::nativeString(path);
    struct stat st;
    if (native.empty() || lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(native.c_str()) == 0;
}

bool deleteFolderTree(std::string_view path) {
    std::string native = detail::nativeString(path);
    struct stat st;
    if (native.empty() || lstat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    std::error_code ec;
    std::filesystem::remove_all(native, ec);
    return !ec;
}

bool removeEmptyFolder(std::string_view path) {
    const std::string native = detail::nativeString(path);
    return !native.empty() && ::rmdir(native.c_str()) == 0;
}

std::int64_t fileSize(std::string_view path) {
    struct stat st;
    if (!statNative(detail::nativeString(path), &st)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::int64_t fileAge(std::string_view path) {
    struct stat st;
    if (!statNative(detail::nativeString(path), &st)) return -1;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec);
}

bool setFileAge(std::string_view path, std::int64_t secondsSinceEpoch) {
    std::string native = detail::nativeString(path);
    if (native.empty()) return false;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(secondsSinceEpoch);
    times[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, native.c_str(), times, 0) == 0;
}

std::vector<FolderEntry> listFolder(std::string_view path) {
    std::vector<FolderEntry> out;
    std::string native = detail::nativeString(path);
    if (native.empty()) native = ".";
    DIR* dir = opendir(native.c_str());
    if (!dir) return out;
    std::string prefix = native.back() == '/' ? native : native + "/";
    while (dirent* e = readdir(dir)) {
        std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        FolderEntry entry;
        entry.name = detail::coreFromNative(name);
        struct stat st;
        std::string full = prefix + std::string(name);
        struct stat linkSt;
        entry.isLink = lstat(full.c_str(), &linkSt) == 0 && S_ISLNK(linkSt.st_mode);
        if (stat(full.c_str(), &st) == 0 || lstat(full.c_str(), &st) == 0) {
            entry.isFolder = S_ISDIR(st.st_mode);
            entry.size = entry.isFolder ? 0 : static_cast<std::int64_t>(st.st_size);
            entry.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec);
        }
        out.push_back(std::move(entry));
    }
    closedir(dir);
    std::sort(out.begin(), out.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return out;
}

std::string resolvedPath(std::string_view path) {
    const std::string native = detail::nativeString(path);
    char* resolved = ::realpath(native.empty() ? "." : native.c_str(), nullptr);
    if (!resolved) return {};
    std::string out = detail::coreFromNative(resolved);
    std::free(resolved);
    return out;
}

bool createFolders(std::string_view path) {
    std::string native = detail::nativeString(path);
    if (native.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(native, ec);
    struct stat st;
    return statNative(native, &st) && S_ISDIR(st.st_mode);
}

bool createFolder(std::string_view path) {
    std::string native = detail::nativeString(path);
    if (native.empty()) return false;
    return ::mkdir(native.c_str(), 0755) == 0;
}

std::string tempFolder() {
    std::string t = envFolder("TMPDIR");
    struct stat st;
    if (t.empty() || stat(t.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) t = "/tmp";
    return detail::coreFromNative(t);
}

std::string makeTempFile(std::string_view prefix, std::string_view extension) {
    std::string folder = detail::nativeString(tempFolder());
    std::string pattern = folder + "/" + cp932ToUtf8(prefix) + "XXXXXX" + cp932ToUtf8(extension);
    int suffix =
        static_cast<int>(pattern.size() - (folder.size() + 1 + cp932ToUtf8(prefix).size() + 6));
    int fd = mkostemps(pattern.data(), suffix, O_CLOEXEC);
    if (fd < 0) fail(FileAction::CreateIn, folder, errno);
    ::close(fd);
    return detail::coreFromNative(pattern);
}

std::string appFolder() {
    if (!appFolderOverride.empty()) return appFolderOverride;
    std::string data = envFolder("XDG_DATA_HOME");
    if (data.empty()) data = nativeHome() + "/.local/share";
    return detail::coreFromNative(data + "/Tarnbook");
}

void setAppFolderOverride(const NativePath& folder) {
    std::string f = folder.empty() ? std::string() : detail::coreFromNative(folder.str());
    while (f.size() > 1 && isSeparatorAt(f, f.size() - 1)) f.pop_back();
    appFolderOverride = f;
}

std::string programFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    return detail::coreFromNative(nativeFolderOf(std::string(buf, static_cast<std::size_t>(n))));
}

std::string homeFolder() {
    return detail::coreFromNative(nativeHome());
}

std::string desktopFolder() {
    // XDG user dirs: XDG_DESKTOP_DIR="$HOME/Desktop" in ~/.config/user-dirs.dirs.
    std::string home = nativeHome();
    std::string config = envFolder("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    int err = 0;
    std::string dirs = readNative(config + "/user-dirs.dirs", &err);
    if (!err) {
        for (const std::string& line : splitLines(dirs)) {
            std::string_view l = line;
            constexpr std::string_view key = "XDG_DESKTOP_DIR=";
            if (l.substr(0, key.size()) != key) continue;
            l.remove_prefix(key.size());
            if (l.size() >= 2 && l.front() == '"' && l.back() == '"') l = l.substr(1, l.size() - 2);
            std::string value;
            if (l.substr(0, 5) == "$HOME")
                value = home + std::string(l.substr(5));
            else
                value = std::string(l);
            struct stat st;
            if (!value.empty() && value[0] == '/' && stat(value.c_str(), &st) == 0 &&
                S_ISDIR(st.st_mode))
                return detail::coreFromNative(value);
        }
    }
    struct stat st;
    if (stat((home + "/Desktop").c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return detail::coreFromNative(home + "/Desktop");
    return detail::coreFromNative(home);
}

int removeInterruptedWrites(std::string_view path) {
    const std::string target = detail::nativeString(path);
    if (target.empty()) return 0;
    const std::string folder = nativeFolderOf(target);
    const std::string prefix = tempNamePrefix(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name);
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) continue;
        const std::string_view random = name.substr(prefix.size());
        if (!std::all_of(random.begin(), random.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        const std::string full = (folder == "/" ? "/" : folder + "/") + std::string(name);
        struct stat st;
        if (lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(full.c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace tarnbook::platform
