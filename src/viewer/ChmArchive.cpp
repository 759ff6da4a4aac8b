#include "viewer/ChmArchive.h"

#include <chm_lib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>

#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::viewer {

namespace {

constexpr std::size_t kHeaderBytes = 0x58;
// Compressed entries rarely shrink below a hundredth of their size; a claim far beyond that
// comes from a damaged or hostile directory and would only make us allocate it.
constexpr std::uint64_t kMaxExpansion = 256;
constexpr std::uint64_t kSlackBytes = 1u << 20;
constexpr std::uint64_t kMaxEntryBytes = 512ull << 20;

bool fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

std::uint64_t le64(const std::string& b, std::size_t at) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The file's first bytes up to the end of its directory: all the directory reader needs.
std::optional<std::string> readHead(const std::string& path, std::uint64_t fileSize,
                                    std::string* error) {
    std::ifstream in(platform::nativePath(path).str(), std::ios::binary);
    if (!in) {
        fail(error, "cannot read the file");
        return std::nullopt;
    }
    std::string head(kHeaderBytes, '\0');
    if (fileSize < kHeaderBytes || !in.read(head.data(), kHeaderBytes)) {
        fail(error, "not a compiled help file (too short)");
        return std::nullopt;
    }
    const std::uint64_t dirOffset = le64(head, 0x48);
    const std::uint64_t dirLength = le64(head, 0x50);
    if (dirOffset > fileSize || dirLength > fileSize - dirOffset) {
        fail(error, "the directory lies outside the file");
        return std::nullopt;
    }
    const std::uint64_t end = dirOffset + dirLength;
    if (end > kHeaderBytes) {
        head.resize(static_cast<std::size_t>(end));
        if (!in.read(head.data() + kHeaderBytes,
                     static_cast<std::streamsize>(end - kHeaderBytes))) {
            fail(error, "cannot read the directory");
            return std::nullopt;
        }
    }
    return head;
}

}  // namespace

std::string archiveKey(std::string_view name) {
    std::string key;
    key.reserve(name.size() + 1);
    if (name.empty() || name.front() != '/') key += '/';
    for (char c : name) key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return key;
}

ChmArchive::~ChmArchive() {
    if (handle_) chm_close(handle_);
}

std::unique_ptr<ChmArchive> ChmArchive::open(const std::string& path, std::string* error) {
    const std::int64_t size = platform::fileSize(path);
    if (size < 0 || !platform::fileExists(path)) {
        fail(error, "the file does not exist");
        return nullptr;
    }
    std::unique_ptr<ChmArchive> a(new ChmArchive);
    a->path_ = path;
    a->fileSize_ = static_cast<std::uint64_t>(size);
    std::string why;
    const auto head = readHead(path, a->fileSize_, &why);
    // Checked by our own reader first: chmlib trusts the directory, loops on chunks that
    // link to themselves and allocates whatever length an entry claims.
    if (!head || !compile::readChmDirectory(*head, &a->directory_, &why)) {
        fail(error, "not a readable compiled help file (" + why + ")");
        return nullptr;
    }
    for (std::size_t i = 0; i < a->directory_.entries.size(); ++i)
        a->byName_.emplace(archiveKey(a->directory_.entries[i].name), i);
    a->handle_ = chm_open(platform::nativePath(path).c_str());
    if (!a->handle_) {
        fail(error, "not a readable compiled help file (its content sections are damaged)");
        return nullptr;
    }
    return a;
}

const compile::ChmDirectoryEntry* ChmArchive::find(std::string_view name) const {
    const std::string key = archiveKey(name);
    if (key.back() == '/') return nullptr;
    // A name that climbs is not served even when the file holds one: the page view never
    // asks for such a name, and a crafted entry must not look like a file beside the help.
    if (key.find("/../") != std::string::npos || key.find("/./") != std::string::npos ||
        key.ends_with("/..") || key.ends_with("/."))
        return nullptr;
    const auto it = byName_.find(key);
    return it == byName_.end() ? nullptr : &directory_.entries[it->second];
}

std::optional<std::string> ChmArchive::read(std::string_view name, std::string* error) const {
    const compile::ChmDirectoryEntry* e = find(name);
    if (!e) {
        fail(error, "no such entry");
        return std::nullopt;
    }
    const bool plausible =
        e->section == 0 ? e->length <= fileSize_ && e->offset <= fileSize_ - e->length
                        : e->section == 1 && e->length <= fileSize_ * kMaxExpansion + kSlackBytes;
    if (!plausible || e->length > kMaxEntryBytes) {
        fail(error, "the entry claims more bytes than the file can hold");
        return std::nullopt;
    }
    if (e->length == 0) return std::string();
    // The entry as found by our reader: chmlib's own lookup would walk the index chunks.
    chmUnitInfo ui{};
    ui.start = e->offset;
    ui.length = e->length;
    ui.space = static_cast<int>(e->section);
    const std::size_t n = std::min(e->name.size(), static_cast<std::size_t>(CHM_MAX_PATHLEN));
    std::memcpy(ui.path, e->name.data(), n);
    try {
        std::string data(static_cast<std::size_t>(e->length), '\0');
        const LONGINT64 got =
            chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(data.data()), 0,
                                static_cast<LONGINT64>(e->length));
        if (got != static_cast<LONGINT64>(e->length)) {
            fail(error, "the entry's data is damaged");
            return std::nullopt;
        }
        return data;
    } catch (const std::bad_alloc&) {
        fail(error, "the entry is too large");
        return std::nullopt;
    }
}

std::vector<std::string> ChmArchive::fileNames() const {
    std::vector<std::string> names;
    for (const auto& e : directory_.entries)
        if (!e.name.empty() && e.name.back() != '/' && e.name.substr(0, 2) != "::")
            names.push_back(e.name);
    return names;
}

}  // namespace tarnbook::viewer
