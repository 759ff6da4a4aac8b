#include "compile/Decompile.h"

#include <chm_lib.h>

#include <cstdio>
#include <memory>
#include <new>
#include <set>

#include "compile/ChmDirectory.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace tarnbook::compile {

namespace {

struct ChmCloser {
    void operator()(chmFile* h) const { chm_close(h); }
};
using ChmHandle = std::unique_ptr<chmFile, ChmCloser>;

// A name as it may be printed: control bytes (a crafted name could retitle or clear the
// terminal, a NUL would cut the message) appear as \xHH.
std::string printableName(std::string_view name) {
    std::string out;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return platform::utf8ToCp932(out);
}

// Compressed entries rarely shrink below a hundredth of their size; a claim far beyond that
// comes from a damaged or hostile directory and would only make the reader allocate it.
constexpr std::uint64_t kMaxExpansion = 256;
constexpr std::uint64_t kSlackBytes = 1u << 20;

bool plausibleLength(const ChmDirectoryEntry& e, std::uint64_t fileSize) {
    if (e.section == 0) return e.length <= fileSize && e.offset <= fileSize - e.length;
    return e.length <= fileSize * kMaxExpansion + kSlackBytes;
}

bool isInternal(std::string_view name) {
    return name.starts_with("::") || name.starts_with("/#") || name.starts_with("/$");
}

// `rel` with "~N" before the extension of its last part, for the smallest N >= 2 that no
// earlier entry took. Names are compared as the case-blind file access sees them.
std::string distinctName(const std::string& rel, const std::set<std::string>& taken) {
    const std::size_t slash = rel.rfind('/');
    const std::size_t dot = rel.rfind('.');
    const std::size_t cut =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1) ? dot
                                                                                    : rel.size();
    for (int n = 2;; ++n) {
        std::string candidate = rel.substr(0, cut) + "~" + std::to_string(n) + rel.substr(cut);
        if (!taken.contains(platform::upperCaseSjis(candidate))) return candidate;
    }
}

// The first part of `rel` below `folder` that is a symbolic link, empty when there is none.
// Writing through one would put the entry wherever the link points.
std::string linkOnTheWay(const std::string& folder, const std::string& rel) {
    std::size_t at = 0;
    for (;;) {
        const std::size_t slash = rel.find('/', at);
        const std::string part = rel.substr(0, slash);
        if (platform::isSymbolicLink(platform::joinPath(folder, part))) return part;
        if (slash == std::string::npos) return {};
        at = slash + 1;
    }
}

}  // namespace

std::optional<std::string> safeEntryPath(std::string_view name, std::string* reason) {
    auto refuse = [&](const char* why) -> std::optional<std::string> {
        if (reason) *reason = why;
        return std::nullopt;
    };
    if (reason) reason->clear();
    // Folders and the container's own storage are not files of the help.
    if (name.empty() || name.back() == '/' || name.substr(0, 2) == "::") return std::nullopt;
    if (name.front() != '/') return refuse("the name is not rooted");
    name.remove_prefix(1);
    if (name.empty()) return std::nullopt;
    if (name.front() == '/') return refuse("the name is an absolute path");
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return refuse("the name contains a control character");
        if (c == '\\') return refuse("the name contains a backslash");
    }
    if (name.size() >= 2 && name[1] == ':') return refuse("the name starts with a drive letter");
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part.empty()) return refuse("the name has an empty folder part");
        if (part == "." || part == "..") return refuse("the name climbs with '.' or '..'");
        start = end + 1;
    }
    // Entry names are UTF-8; the core speaks CP932 and converts back at the file system. The
    // converted form is checked again, so no conversion can bring back a climbing name.
    std::string core = platform::utf8ToCp932(name);
    std::size_t partStart = 0;
    for (std::size_t i = 0; i <= core.size(); ++i) {
        if (i == core.size() || platform::isSeparatorAt(core, i)) {
            const std::string_view part = std::string_view(core).substr(partStart, i - partStart);
            if (part.empty() || part == "." || part == "..")
                return refuse("the name does not convert to a safe file name");
            partStart = i + 1;
        }
    }
    return core;
}

DecompileResult decompileChm(const std::string& chmPath, const std::string& outputFolder,
                             const DecompileProgress& progress, const DecompileOptions& options) {
    DecompileResult result;
    if (!platform::fileExists(chmPath)) {
        result.error = "the file " + chmPath + " does not exist";
        return result;
    }
    // The directory is checked by our own reader first: chmlib trusts it and loops on
    // chunks that link to themselves or allocates whatever length an entry claims.
    const auto bytes = platform::tryReadFile(chmPath);
    ChmDirectory dir;
    std::string why;
    if (!bytes || !readChmDirectory(*bytes, &dir, &why)) {
        result.error = "the file " + chmPath + " is not a readable compiled help file" +
                       (why.empty() ? std::string() : " (" + why + ")");
        return result;
    }
    const std::uint64_t fileSize = bytes->size();
    ChmHandle h(chm_open(platform::nativePath(chmPath).c_str()));
    if (!h) {
        result.error = "the file " + chmPath + " is not a readable compiled help file";
        return result;
    }
    result.opened = true;
    if (!platform::createFolders(outputFolder))
        throw platform::IoError("cannot create the folder " + outputFolder);

    result.entries = dir.entries.size();
    struct Job {
        std::string name;
        std::string target;  // relative to the output folder, '/' separated
    };
    std::vector<Job> jobs;
    std::set<std::string> taken;
    for (const auto& entry : dir.entries) {
        const bool internal = isInternal(entry.name);
        if (internal && !options.includeInternal) {
            if (entry.name.back() != '/') ++result.internalSkipped;
            continue;
        }
        std::string reason;
        // Storage entries are not rooted; asked for, they land under their own name.
        const bool storage = entry.name.starts_with("::");
        auto rel = safeEntryPath(storage ? "/" + entry.name.substr(2) : entry.name, &reason);
        if (storage && rel) rel = "::" + *rel;
        if (rel && !plausibleLength(entry, fileSize)) {
            result.warnings.push_back("skipped " + printableName(entry.name) + ": it claims " +
                                      std::to_string(entry.length) +
                                      " bytes, more than the file can hold");
        } else if (rel) {
            // Two names can become one: characters Shift_JIS cannot hold, or letter case,
            // which the file access does not tell apart.
            if (taken.contains(platform::upperCaseSjis(*rel))) {
                std::string other = distinctName(*rel, taken);
                result.warnings.push_back("wrote " + printableName(entry.name) + " as " + other +
                                          ": its name collides with another entry's");
                rel = std::move(other);
            }
            taken.insert(platform::upperCaseSjis(*rel));
            jobs.push_back({entry.name, *rel});
        } else if (!reason.empty()) {
            result.warnings.push_back("skipped " + printableName(entry.name) + ": " + reason);
        }
    }

    if (progress) progress(0, jobs.size());
    if (options.observe) options.observe(result, 0, jobs.size());
    std::size_t done = 0;
    for (const auto& job : jobs) {
        chmUnitInfo ui{};
        if (chm_resolve_object(h.get(), job.name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) {
            result.warnings.push_back("cannot find " + printableName(job.name) +
                                      " in the directory");
        } else {
            // One entry that cannot be written (a name too long for the file system, a file
            // where a folder must go) does not stop the others.
            try {
                std::string data(static_cast<std::size_t>(ui.length), '\0');
                const LONGINT64 got =
                    ui.length == 0
                        ? 0
                        : chm_retrieve_object(h.get(), &ui,
                                              reinterpret_cast<unsigned char*>(data.data()), 0,
                                              static_cast<LONGINT64>(ui.length));
                if (got != static_cast<LONGINT64>(ui.length)) {
                    result.warnings.push_back("cannot read " + printableName(job.name) +
                                              " (damaged data)");
                } else if (const std::string link = linkOnTheWay(outputFolder, job.target);
                           !link.empty()) {
                    result.warnings.push_back("skipped " + printableName(job.name) + ": " + link +
                                              " in the output folder is a symbolic link");
                } else {
                    const std::string target = platform::joinPath(outputFolder, job.target);
                    const std::string folder = platform::folderPart(target);
                    if (!folder.empty() && !platform::createFolders(folder))
                        throw platform::IoError("cannot create the folder " + folder);
                    platform::writeFileAtomic(target, data, platform::Durability::Unsynced);
                    ++result.filesWritten;
                }
            } catch (const platform::IoError& e) {
                result.warnings.push_back("cannot write " + printableName(job.name) + ": " +
                                          e.what());
            } catch (const std::bad_alloc&) {
                result.warnings.push_back("cannot read " + printableName(job.name) +
                                          " (too large)");
            }
        }
        ++done;
        if (progress) progress(done, jobs.size());
        if (options.observe) options.observe(result, done, jobs.size());
    }
    return result;
}

}  // namespace tarnbook::compile
