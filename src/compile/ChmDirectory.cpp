#include "compile/ChmDirectory.h"

#include <cstring>
#include <utility>

#include "platform/Files.h"
#include "platform/IoError.h"

namespace tarnbook::compile {

namespace {

constexpr std::size_t kItsfMinHeader = 0x58;
constexpr std::size_t kItspHeader = 0x54;
constexpr std::size_t kPmglHeader = 20;
constexpr std::size_t kPmgiHeader = 8;
// Far beyond any real help file; keeps a hostile header from promising absurd sizes.
constexpr std::uint64_t kMaxDirectoryBytes = 256ull << 20;

std::uint32_t u32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
std::int32_t i32(std::string_view b, std::size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}
std::uint64_t u64(std::string_view b, std::size_t at) {
    return static_cast<std::uint64_t>(u32(b, at)) |
           (static_cast<std::uint64_t>(u32(b, at + 4)) << 32);
}
void put32(std::string& b, std::size_t at, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The variable-length integers of listing entries: 7 bits per byte, high bit = more follows.
bool encInt(std::string_view b, std::size_t* pos, std::size_t end, std::uint64_t* value) {
    std::uint64_t v = 0;
    for (int n = 0; n < 10; ++n) {
        if (*pos >= end) return false;
        const auto c = static_cast<unsigned char>(b[(*pos)++]);
        v = (v << 7) | (c & 0x7F);
        if (!(c & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

bool fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

bool parseListing(std::string_view chunk, std::size_t index, std::vector<ChmDirectoryEntry>* out,
                  std::string* error) {
    const std::uint32_t freeSpace = u32(chunk, 4);
    if (freeSpace > chunk.size() - kPmglHeader)
        return fail(error, "listing chunk " + std::to_string(index) + " has a bad free-space size");
    const std::size_t end = chunk.size() - freeSpace;
    std::size_t pos = kPmglHeader;
    while (pos < end) {
        std::uint64_t len = 0;
        if (!encInt(chunk, &pos, end, &len) || len > end - pos)
            return fail(error, "listing chunk " + std::to_string(index) + " has a damaged entry");
        ChmDirectoryEntry e;
        e.name.assign(chunk.substr(pos, static_cast<std::size_t>(len)));
        pos += static_cast<std::size_t>(len);
        if (!encInt(chunk, &pos, end, &e.section) || !encInt(chunk, &pos, end, &e.offset) ||
            !encInt(chunk, &pos, end, &e.length))
            return fail(error, "listing chunk " + std::to_string(index) + " has a damaged entry");
        out->push_back(std::move(e));
    }
    return true;
}

// The children an index chunk names. Lookups descend from the index root through these, so
// a child out of range or a circle among index chunks would send a reader astray or round
// forever.
bool indexChildren(std::string_view chunk, std::size_t index, std::vector<std::uint32_t>* out,
                   std::string* error) {
    const std::uint32_t freeSpace = u32(chunk, 4);
    if (freeSpace > chunk.size() - kPmgiHeader)
        return fail(error, "index chunk " + std::to_string(index) + " has a bad free-space size");
    const std::size_t end = chunk.size() - freeSpace;
    std::size_t pos = kPmgiHeader;
    while (pos < end) {
        std::uint64_t len = 0, child = 0;
        if (!encInt(chunk, &pos, end, &len) || len > end - pos)
            return fail(error, "index chunk " + std::to_string(index) + " has a damaged entry");
        pos += static_cast<std::size_t>(len);
        if (!encInt(chunk, &pos, end, &child) || child > 0xFFFFFFFFu)
            return fail(error, "index chunk " + std::to_string(index) + " has a damaged entry");
        out->push_back(static_cast<std::uint32_t>(child));
    }
    return true;
}

}  // namespace

bool readChmDirectory(std::string_view bytes, ChmDirectory* out, std::string* error) {
    if (bytes.size() < kItsfMinHeader || bytes.substr(0, 4) != "ITSF")
        return fail(error, "not a compiled help file (no ITSF header)");
    const std::uint32_t version = u32(bytes, 4);
    if (version != 2 && version != 3)
        return fail(error, "unknown ITSF version " + std::to_string(version));
    const std::uint64_t dirOffset = u64(bytes, 0x48);
    const std::uint64_t dirLength = u64(bytes, 0x50);
    if (dirLength < kItspHeader || dirLength > kMaxDirectoryBytes || dirOffset > bytes.size() ||
        dirLength > bytes.size() - dirOffset)
        return fail(error, "the directory lies outside the file");
    const std::string_view dir =
        bytes.substr(static_cast<std::size_t>(dirOffset), static_cast<std::size_t>(dirLength));
    if (dir.substr(0, 4) != "ITSP") return fail(error, "no directory header (ITSP)");
    const std::uint32_t headerLength = u32(dir, 8);
    const std::uint32_t chunkSize = u32(dir, 0x10);
    const std::uint32_t chunkCount = u32(dir, 0x2C);
    if (headerLength < kItspHeader || headerLength > dir.size())
        return fail(error, "bad directory header length");
    if (chunkSize < kPmglHeader + 4 || chunkSize > (1u << 20))
        return fail(error, "bad directory chunk size " + std::to_string(chunkSize));
    if (chunkCount == 0 || chunkCount > (dir.size() - headerLength) / chunkSize)
        return fail(error, "the directory chunks do not fit in the directory");

    ChmDirectory d;
    d.directoryOffset = dirOffset;
    d.chunkSize = chunkSize;
    d.chunkCount = chunkCount;
    d.indexRoot = i32(dir, 0x1C);
    d.recordedFirst = i32(dir, 0x20);
    d.recordedLast = i32(dir, 0x24);

    auto chunk = [&](std::size_t i) { return dir.substr(headerLength + i * chunkSize, chunkSize); };
    std::vector<std::int32_t> prev(chunkCount, -2), next(chunkCount, -2);
    std::vector<std::vector<std::uint32_t>> children(chunkCount);
    std::int32_t head = -1;
    std::size_t listings = 0;
    for (std::size_t i = 0; i < chunkCount; ++i) {
        const auto c = chunk(i);
        if (c.substr(0, 4) == "PMGL") {
            ++listings;
            prev[i] = i32(c, 12);
            next[i] = i32(c, 16);
            if (prev[i] == -1) {
                if (head != -1) return fail(error, "the directory has two first listing chunks");
                head = static_cast<std::int32_t>(i);
            }
        } else if (c.substr(0, 4) == "PMGI") {
            if (!indexChildren(c, i, &children[i], error)) return false;
            for (std::uint32_t child : children[i])
                if (child >= chunkCount)
                    return fail(error, "index chunk " + std::to_string(i) + " names chunk " +
                                           std::to_string(child) + ", beyond the directory");
        } else {
            if (c.size() < kPmgiHeader || c.substr(0, 4) != std::string_view("\0\0\0\0", 4))
                return fail(error, "directory chunk " + std::to_string(i) +
                                       " is neither a listing nor an index");
        }
    }
    if (listings == 0 || head == -1) return fail(error, "the directory has no first listing chunk");
    if (d.indexRoot >= 0 && static_cast<std::uint32_t>(d.indexRoot) >= chunkCount)
        return fail(error, "the index root lies beyond the directory");
    // Index chunks must form a tree: a walk from any of them ends at listing chunks.
    std::vector<int> state(chunkCount, 0);  // 0 unvisited, 1 on the path, 2 done
    std::vector<std::pair<std::uint32_t, std::size_t>> stack;
    for (std::uint32_t start = 0; start < chunkCount; ++start) {
        if (state[start] != 0) continue;
        stack.push_back({start, 0});
        state[start] = 1;
        while (!stack.empty()) {
            auto& [at, nextChild] = stack.back();
            if (nextChild == children[at].size()) {
                state[at] = 2;
                stack.pop_back();
                continue;
            }
            const std::uint32_t child = children[at][nextChild++];
            if (state[child] == 1) return fail(error, "the index chunks link in a circle");
            if (state[child] == 0) {
                state[child] = 1;
                stack.push_back({child, 0});
            }
        }
    }

    std::vector<bool> seen(chunkCount, false);
    std::int32_t cur = head;
    std::int32_t last = head;
    std::size_t visited = 0;
    while (cur != -1) {
        if (cur < 0 || static_cast<std::uint32_t>(cur) >= chunkCount || prev[cur] == -2)
            return fail(error, "a listing chunk links to chunk " + std::to_string(cur) +
                                   ", which is not a listing");
        if (seen[cur]) return fail(error, "the listing chunks link in a circle");
        seen[cur] = true;
        ++visited;
        if (!parseListing(chunk(static_cast<std::size_t>(cur)), static_cast<std::size_t>(cur),
                          &d.entries, error))
            return false;
        last = cur;
        cur = next[cur];
    }
    if (visited != listings) return fail(error, "some listing chunks are not on the chain");
    d.chainFirst = head;
    d.chainLast = last;
    *out = std::move(d);
    return true;
}

bool repairChmDirectoryBytes(std::string& bytes, bool* changed, std::string* error) {
    if (changed) *changed = false;
    ChmDirectory d;
    if (!readChmDirectory(bytes, &d, error)) return false;
    if (!d.needsRepair()) return true;
    const std::size_t at = static_cast<std::size_t>(d.directoryOffset);
    put32(bytes, at + 0x20, d.chainFirst);
    put32(bytes, at + 0x24, d.chainLast);
    if (changed) *changed = true;
    return true;
}

bool repairChmDirectoryFile(const std::string& path, bool* changed, std::string* error) {
    if (changed) *changed = false;
    auto bytes = platform::tryReadFile(path);
    if (!bytes) return fail(error, "cannot read " + path);
    bool did = false;
    if (!repairChmDirectoryBytes(*bytes, &did, error)) return false;
    if (did) {
        try {
            platform::writeFileAtomic(path, *bytes, platform::Durability::Unsynced);
        } catch (const platform::IoError& e) {
            return fail(error, e.what());
        }
    }
    if (changed) *changed = did;
    return true;
}

}  // namespace tarnbook::compile
