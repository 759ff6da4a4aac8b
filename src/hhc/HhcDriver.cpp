#include "hhc/HhcDriver.h"

#include <chm_lib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <utility>

#include "BuildInfo.h"
#include "compile/ChmDirectory.h"
#include "hhc/HhcLogWriter.h"
#include "hhc/HhpFile.h"
#include "hhc/OwnBackend.h"
#include "hhc/ProjectAdapter.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/Process.h"

namespace tarnbook::hhc {

namespace {

struct ChmCloser {
    void operator()(chmFile* h) const { chm_close(h); }
};
using ChmHandle = std::unique_ptr<chmFile, ChmCloser>;

// Removes a temporary file when the compile ends, however it ends.
class TempFile {
  public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() {
        if (!path_.empty()) platform::deleteFile(path_);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }
    void release() { path_.clear(); }

  private:
    std::string path_;
};

constexpr std::string_view kTempPrefix = ".tarnbook-hhc-";

// A name in `folder` that does not exist yet; hidden, so a file manager does not show it
// while the compiler runs. It carries the process id, so that the next build can tell the
// leftovers of a killed build from those of one still running.
std::string freshName(const std::string& folder, const std::string& stem, const std::string& ext) {
    static std::mt19937_64 rng{std::random_device{}()};
    for (;;) {
        const std::string candidate = platform::joinPath(
            folder, std::string(kTempPrefix) + stem + std::to_string(platform::currentProcessId()) +
                        "-" + std::to_string(rng() % 100000000) + ext);
        if (!platform::pathExists(candidate)) return candidate;
    }
}

// The process that made a temporary of ours, or 0 for a name without one.
int temporaryOwner(std::string_view name) {
    if (!name.starts_with(kTempPrefix)) return 0;
    name.remove_prefix(kTempPrefix.size());
    if (name.starts_with("old-")) name.remove_prefix(4);
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9) return 0;
    int pid = 0;
    for (char c : name.substr(0, dash)) {
        if (c < '0' || c > '9') return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// Removes what a killed build left in `folder`: the partial compiled file, the compiler's
// project copy, the previous result set aside. A build still running keeps its files.
void removeAbandonedTemporaries(const std::string& folder) {
    for (const auto& e : platform::listFolder(folder)) {
        if (e.isFolder || e.isLink || !e.name.starts_with(kTempPrefix)) continue;
        const int owner = temporaryOwner(e.name);
        if (owner == 0 || !platform::processExists(owner))
            platform::deleteFile(platform::joinPath(folder, e.name));
    }
}

bool isImage(const std::string& lowerName) {
    for (const char* ext : {".gif", ".jpg", ".jpeg", ".png", ".bmp", ".ico", ".svg", ".webp"})
        if (lowerName.ends_with(ext)) return true;
    return false;
}

bool isPage(const std::string& lowerName) {
    return lowerName.ends_with(".htm") || lowerName.ends_with(".html");
}

bool readEntry(chmFile* h, const std::string& name, std::string* data) {
    chmUnitInfo ui{};
    if (chm_resolve_object(h, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return false;
    data->assign(static_cast<std::size_t>(ui.length), '\0');
    if (ui.length == 0) return true;
    const LONGINT64 got =
        chm_retrieve_object(h, &ui, reinterpret_cast<unsigned char*>(data->data()), 0,
                            static_cast<LONGINT64>(ui.length));
    return got == static_cast<LONGINT64>(ui.length);
}

// Reads back every entry of the compiled file with chmlib: the files the project listed must
// be there with their bytes; pages, pictures and links are counted for the log.
bool checkResult(const std::string& chmPath, const std::string& projectFolder,
                 const std::vector<std::string>& listed, CompileStats* stats,
                 std::vector<HhcMessage>* messages) {
    ChmHandle h(chm_open(platform::nativePath(chmPath).c_str()));
    if (!h) {
        messages->push_back({msg::kInternal, Severity::Error,
                             "The compiled file cannot be read back; it is damaged."});
        return false;
    }
    bool sound = true;
    for (const auto& name : listed) {
        std::string data;
        if (!readEntry(h.get(), "/" + name, &data)) {
            messages->push_back({msg::kInternal, Severity::Error,
                                 "The compiled file lacks " + name + ", or it cannot be read."});
            sound = false;
            continue;
        }
        auto source = platform::tryReadFile(platform::joinPath(projectFolder, name));
        if (source && *source != data) {
            messages->push_back({msg::kInternal, Severity::Error,
                                 "The compiled copy of " + name + " differs from the file."});
            sound = false;
        }
    }

    auto bytes = platform::tryReadFile(chmPath);
    compile::ChmDirectory dir;
    std::string error;
    if (!bytes || !compile::readChmDirectory(*bytes, &dir, &error)) {
        messages->push_back({msg::kInternal, Severity::Error,
                             "The compiled file's directory is damaged: " + error});
        return false;
    }
    stats->chmBytes = bytes->size();
    for (const auto& e : dir.entries) {
        const std::string& n = e.name;
        if (n.size() < 2 || n[0] != '/' || n.back() == '/' || n[1] == '#' || n[1] == '$') continue;
        const std::string lower = platform::lowerCaseSjis(n);
        stats->sourceBytes += e.length;
        if (isImage(lower)) ++stats->graphics;
        if (!isPage(lower)) continue;
        ++stats->topics;
        std::string data;
        if (readEntry(h.get(), n, &data))
            countLinks(data, &stats->localLinks, &stats->internetLinks);
    }
    return sound;
}

// Puts `from` in the place of `to`. The platform's rename never replaces a file, so the old
// result steps aside first and comes back when the new one cannot take its place.
bool replaceFile(const std::string& from, const std::string& to) {
    if (!platform::fileExists(to)) return platform::renameFile(from, to);
    const std::string aside = freshName(platform::folderPart(to), "old-", ".chm");
    if (!platform::renameFile(to, aside)) return false;
    if (!platform::renameFile(from, to)) {
        platform::renameFile(aside, to);
        return false;
    }
    platform::deleteFile(aside);
    return true;
}

// Runs chmcmd on an adapted copy of the project; the failure (message number and text), if
// any.
std::optional<std::pair<int, std::string>> runChmcmd(AdaptedProject adapted,
                                                     const std::string& folder,
                                                     const std::string& outputPath,
                                                     const DriverOptions& options,
                                                     DriverResult* result) {
    // chmcmd opens the names it is given as they are: hand it the file system's own (UTF-8)
    // path, not the project's Shift_JIS text, or a project with a Japanese name cannot build.
    adapted.hhp.setOption("Compiled file", platform::nativePath(outputPath).str());
    TempFile project(freshName(folder, "", ".hhp"));
    try {
        platform::writeFileAtomic(project.path(), adapted.hhp.toBytes(),
                                  platform::Durability::Unsynced);
    } catch (const platform::IoError& e) {
        return std::make_pair(msg::kCannotWrite,
                              std::string("Cannot write the compiler's project copy: ") +
                                  platform::utf8ToCp932(e.what()));
    }

    const std::string program = options.chmcmd.empty() ? "chmcmd" : options.chmcmd;
    const platform::RunLimits limits{
        options.timeLimit.count() > 0
            ? options.timeLimit
            : std::chrono::seconds(300 + static_cast<long long>(adapted.listedFiles.size() / 20)),
        options.memoryLimitBytes};
    std::string output_text;
    bool timedOut = false;
    const int exitCode = platform::runAndCapture(program, {platform::fileNamePart(project.path())},
                                                 folder, &output_text, limits, &timedOut);
    if (timedOut)
        return std::make_pair(msg::kInternal,
                              "The compiler " + program + " did not end within " +
                                  std::to_string(limits.time.count()) +
                                  " seconds and was stopped (--time-limit=SECONDS allows more).");
    if (exitCode < 0)
        return std::make_pair(msg::kInternal,
                              "The compiler " + program + " cannot be started: " + output_text);
    for (auto& m : mapChmcmdOutput(withoutDefinedAnchors(output_text, folder)))
        result->messages.push_back(std::move(m));
    if (exitCode != 0 || platform::fileSize(outputPath) <= 0)
        return std::make_pair(msg::kInternal, "The compiler " + program + " ended with exit code " +
                                                  std::to_string(exitCode) +
                                                  " without a compiled file.");

    std::string error;
    bool repaired = false;
    if (!compile::repairChmDirectoryFile(outputPath, &repaired, &error))
        return std::make_pair(msg::kInternal, "The compiled file's directory is damaged: " + error);
    result->directoryRepaired = repaired;
    return std::nullopt;
}

}  // namespace

DriverOptions chmcmdOptions(std::string program) {
    DriverOptions options;
    options.chmcmd = std::move(program);
    options.backend = Backend::Chmcmd;
    return options;
}

std::string driverBanner(Backend backend) {
    return std::string(buildinfo::kProductName) + " help compiler driver " +
           buildinfo::kProductVersion +
           (backend == Backend::Own ? " (built-in writer)" : " (chmcmd back end)");
}

DriverResult compileProject(const std::string& hhpPath, const DriverOptions& options) {
    DriverResult result;
    const auto started = std::chrono::steady_clock::now();
    auto original = platform::tryReadFile(hhpPath);
    if (!original) {
        result.failure = "cannot read the project file " + hhpPath;
        return result;
    }
    // chmcmd runs in the project folder, so every path handed to it must be absolute.
    std::string folder = platform::folderPart(hhpPath);
    if (!platform::isAbsolutePath(folder)) {
        const std::string cwd =
            platform::corePath(platform::NativePath(std::filesystem::current_path().string()));
        folder = normalizeAbsolute(folder.empty() ? cwd : cwd + "/" + folder);
    }
    AdaptedProject adapted =
        adaptProject(HhpFile::parse(*original), {folder, platform::fileNamePart(hhpPath)});
    result.chmPath = adapted.targetChm;
    result.logPath = adapted.errorLog;
    result.messages = adapted.messages;

    CompileLogData log{driverBanner(options.backend), adapted.targetChm, {}, std::nullopt};
    auto finish = [&](bool produced) {
        result.produced = produced;
        log.messages = result.messages;
        result.logText = formatCompileLog(log);
        if (!result.logPath.empty()) {
            try {
                platform::writeFileAtomic(result.logPath, result.logText);
            } catch (const platform::IoError& e) {
                // The failure text is CP932 like the log; the platform's messages are UTF-8.
                result.failure += (result.failure.empty() ? "" : "; ") +
                                  std::string("cannot write the error log: ") +
                                  platform::utf8ToCp932(e.what());
                result.logPath.clear();
            }
        }
        return result;
    };
    auto fatal = [&](int number, std::string text) {
        result.messages.push_back({number, Severity::Error, text});
        result.failure = std::move(text);
        return finish(false);
    };

    const std::string targetFolder = platform::folderPart(adapted.targetChm);
    if (!targetFolder.empty() && !platform::folderExists(targetFolder) &&
        !platform::createFolders(targetFolder))
        return fatal(msg::kCannotWrite,
                     "Cannot create the folder " + targetFolder + " for the compiled file.");
    removeAbandonedTemporaries(folder);
    if (!targetFolder.empty()) removeAbandonedTemporaries(targetFolder);
    if (!result.logPath.empty()) platform::removeInterruptedWrites(result.logPath);

    TempFile output(freshName(targetFolder.empty() ? folder : targetFolder, "", ".chm"));
    if (options.backend == Backend::Own) {
        OwnBuild own =
            writeOwnChm(adapted, folder, output.path(), &result.messages, options.progress);
        if (!own.written)
            return fatal(msg::kInternal, "The compiled file cannot be written: " + own.failure);
        result.storedFiles = std::move(own.storedFiles);
    } else if (auto failure = runChmcmd(adapted, folder, output.path(), options, &result)) {
        return fatal(failure->first, failure->second);
    }

    CompileStats stats;
    if (!checkResult(output.path(), folder, adapted.listedFiles, &stats, &result.messages))
        return fatal(msg::kInternal, "The compiled file is incomplete; it was not kept.");

    if (!replaceFile(output.path(), adapted.targetChm))
        return fatal(msg::kCannotWrite,
                     "Cannot write the compiled file " + adapted.targetChm + ".");
    output.release();
    stats.seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started)
            .count();
    log.stats = stats;
    return finish(true);
}

}  // namespace tarnbook::hhc
