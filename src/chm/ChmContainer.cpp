#include "chm/ChmContainer.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "chm/ByteWriter.h"

namespace tarnbook::chm {

namespace {

constexpr std::uint32_t kChunkSize = 0x1000;
constexpr std::uint32_t kQuickRefDensity = 2;  // a quick reference every 1 + 2^2 entries
constexpr std::size_t kQuickRefEvery = 1 + (1u << kQuickRefDensity);
constexpr std::size_t kListingHeader = 0x14;
constexpr std::size_t kIndexHeader = 0x08;
constexpr std::uint32_t kDirectoryHeaderSize = 0x54;
constexpr std::uint32_t kItsfHeaderSize = 0x60;
constexpr std::uint32_t kHeaderSection0Size = 0x18;

const char* const kStorage = "::DataSpace/Storage/MSCompressed/";
const char* const kLzxGuid = "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}";

struct DirEntry {
    std::string name;
    std::uint64_t section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string utf16le(const std::string& ascii) {
    std::string out;
    for (char c : ascii) putU16(out, static_cast<unsigned char>(c));
    return out;
}

std::string nameList() {
    std::string body;
    putU16(body, 2);
    for (const char* name : {"Uncompressed", "MSCompressed"}) {
        const std::string n = name;
        putU16(body, static_cast<std::uint16_t>(n.size()));
        body += utf16le(n);
        putU16(body, 0);
    }
    std::string out;
    putU16(out, static_cast<std::uint16_t>((body.size() + 2) / 2));
    return out + body;
}

std::string controlData(const LzxOptions& lzx) {
    std::string out;
    putU32(out, 6);
    out += "LZXC";
    putU32(out, 2);  // version 2: sizes below count frames
    putU32(out, static_cast<std::uint32_t>(lzx.resetInterval / kLzxFrameSize));
    putU32(out, static_cast<std::uint32_t>((std::size_t{1} << lzx.windowBits) / kLzxFrameSize));
    putU32(out, 1);
    putU32(out, 0);
    return out;
}

std::string resetTable(const LzxOutput& lzx, std::uint64_t uncompressed) {
    std::string out;
    putU32(out, 2);
    putU32(out, static_cast<std::uint32_t>(lzx.frameOffsets.size()));
    putU32(out, 8);
    putU32(out, 0x28);
    putU64(out, uncompressed);
    putU64(out, lzx.data.size());
    putU64(out, kLzxFrameSize);
    for (auto off : lzx.frameOffsets) putU64(out, off);
    return out;
}

std::string entryBytes(const DirEntry& e) {
    return encInt(e.name.size()) + e.name + encInt(e.section) + encInt(e.offset) + encInt(e.length);
}

// One directory chunk: header, entries, and at the end the quick-reference offsets (relative
// to the first entry) of every fifth entry followed by the entry count.
std::string finishChunk(std::string header, const std::vector<std::string>& entries) {
    std::string chunk = std::move(header);
    const std::size_t entriesStart = chunk.size();
    std::vector<std::uint16_t> quickRefs;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && i % kQuickRefEvery == 0)
            quickRefs.push_back(static_cast<std::uint16_t>(chunk.size() - entriesStart));
        chunk += entries[i];
    }
    patchU32(chunk, 4, static_cast<std::uint32_t>(kChunkSize - chunk.size()));
    chunk.resize(kChunkSize, '\0');
    std::size_t at = kChunkSize - 2;
    auto put16 = [&](std::uint16_t v) {
        chunk[at] = static_cast<char>(v & 0xFF);
        chunk[at + 1] = static_cast<char>(v >> 8);
    };
    put16(static_cast<std::uint16_t>(entries.size()));
    for (auto q : quickRefs) {
        at -= 2;
        put16(q);
    }
    return chunk;
}

// Splits encoded entries into groups that fit a chunk with the given header size.
std::vector<std::vector<std::string>> packEntries(const std::vector<std::string>& entries,
                                                  std::size_t headerSize) {
    std::vector<std::vector<std::string>> groups;
    std::vector<std::string> current;
    std::size_t used = 0;
    for (const auto& e : entries) {
        if (headerSize + e.size() + 4 > kChunkSize)
            throw std::invalid_argument("a file name is too long for the directory");
        const std::size_t count = current.size() + 1;
        const std::size_t trailer = 2 * ((count - 1) / kQuickRefEvery + 1);
        if (!current.empty() && headerSize + used + e.size() + trailer > kChunkSize) {
            groups.push_back(std::move(current));
            current.clear();
            used = 0;
        }
        current.push_back(e);
        used += e.size();
    }
    if (!current.empty()) groups.push_back(std::move(current));
    return groups;
}

struct Directory {
    std::vector<std::string> chunks;
    std::int32_t listingChunks = 0;
    std::int32_t depth = 1;
    std::int32_t root = -1;
};

Directory buildDirectory(const std::vector<DirEntry>& entries) {
    Directory dir;
    std::vector<std::string> encoded;
    for (const auto& e : entries) encoded.push_back(entryBytes(e));
    const auto groups = packEntries(encoded, kListingHeader);
    const auto count = static_cast<std::int32_t>(groups.size());
    std::vector<std::string> firstNames;
    std::size_t entryIndex = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        firstNames.push_back(entries[entryIndex].name);
        entryIndex += groups[i].size();
        std::string header = "PMGL";
        putU32(header, 0);
        putU32(header, 0);
        putU32(header, static_cast<std::uint32_t>(i == 0 ? -1 : i - 1));
        putU32(header, static_cast<std::uint32_t>(i + 1 == count ? -1 : i + 1));
        dir.chunks.push_back(finishChunk(std::move(header), groups[i]));
    }
    dir.listingChunks = count;

    // Index levels until one chunk covers the level below: each entry names the first file
    // of a chunk one level down.
    std::vector<std::int32_t> levelChunks;
    for (std::int32_t i = 0; i < count; ++i) levelChunks.push_back(i);
    while (levelChunks.size() > 1) {
        std::vector<std::string> indexEntries;
        for (std::size_t i = 0; i < levelChunks.size(); ++i)
            indexEntries.push_back(encInt(firstNames[i].size()) + firstNames[i] +
                                   encInt(static_cast<std::uint64_t>(levelChunks[i])));
        const auto indexGroups = packEntries(indexEntries, kIndexHeader);
        std::vector<std::string> nextNames;
        std::vector<std::int32_t> nextChunks;
        std::size_t k = 0;
        for (const auto& g : indexGroups) {
            nextNames.push_back(firstNames[k]);
            k += g.size();
            nextChunks.push_back(static_cast<std::int32_t>(dir.chunks.size()));
            std::string header = "PMGI";
            putU32(header, 0);
            dir.chunks.push_back(finishChunk(std::move(header), g));
        }
        firstNames = std::move(nextNames);
        levelChunks = std::move(nextChunks);
        ++dir.depth;
    }
    if (dir.depth > 1) dir.root = levelChunks.front();
    return dir;
}

void addFolders(const std::string& name, std::set<std::string, decltype(&chmNameLess)>& folders) {
    for (std::size_t slash = name.find('/', 1); slash != std::string::npos;
         slash = name.find('/', slash + 1))
        folders.insert(name.substr(0, slash + 1));
}

void checkNames(const std::vector<ChmFile>& files) {
    std::set<std::string, decltype(&chmNameLess)> seen(&chmNameLess);
    for (const auto& f : files) {
        if (f.name.size() < 2 || f.name[0] != '/' || f.name.back() == '/')
            throw std::invalid_argument("not a file name for a compiled help file: " + f.name);
        if (!seen.insert(f.name).second)
            throw std::invalid_argument("two files are named " + f.name);
    }
}

}  // namespace

bool chmNameLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) <
               static_cast<unsigned char>(lowerAscii(y));
    });
}

std::string buildChmContainer(const std::vector<ChmFile>& files,
                              const ChmContainerOptions& options) {
    checkNames(files);
    std::vector<DirEntry> entries;
    std::set<std::string, decltype(&chmNameLess)> folders(&chmNameLess);
    folders.insert("/");

    // Section 1: the compressed files one after another.
    std::string stream;
    for (const auto& f : files) {
        addFolders(f.name, folders);
        if (!f.compressed) continue;
        entries.push_back({f.name, 1, stream.size(), f.data.size()});
        stream += f.data;
    }
    const LzxOutput lzx = lzxCompress(stream, options.lzx);

    // Section 0: the storage description first, then the plain files, then the compressed
    // stream.
    std::string section0;
    auto place = [&](const std::string& name, const std::string& data) {
        entries.push_back({name, 0, section0.size(), data.size()});
        section0 += data;
    };
    place("::DataSpace/NameList", nameList());
    // The Workshop compiler stores only the first 19 characters of the transform's GUID.
    place(std::string(kStorage) + "Transform/List", utf16le(std::string(kLzxGuid).substr(0, 19)));
    std::string span;
    putU64(span, stream.size());
    place(std::string(kStorage) + "SpanInfo", span);
    place(std::string(kStorage) + "ControlData", controlData(options.lzx));
    place(std::string(kStorage) + "Transform/" + kLzxGuid + "/InstanceData/ResetTable",
          resetTable(lzx, stream.size()));
    for (const auto& f : files)
        if (!f.compressed) place(f.name, f.data);
    place(std::string(kStorage) + "Content", lzx.data);
    for (const auto& folder : folders) entries.push_back({folder, 0, 0, 0});
    entries.push_back(
        {std::string(kStorage) + "Transform/" + kLzxGuid + "/InstanceData/", 0, 0, 0});
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return chmNameLess(a.name, b.name); });

    const Directory dir = buildDirectory(entries);
    const std::uint64_t directoryOffset = kItsfHeaderSize + kHeaderSection0Size;
    const std::uint64_t directoryLength =
        kDirectoryHeaderSize + std::uint64_t{kChunkSize} * dir.chunks.size();
    const std::uint64_t contentOffset = directoryOffset + directoryLength;
    const std::uint64_t fileSize = contentOffset + section0.size();

    std::string out;
    out.reserve(fileSize);
    out += "ITSF";
    putU32(out, 3);
    putU32(out, kItsfHeaderSize);
    putU32(out, 1);
    putU32(out, options.timestamp);
    putU32(out, options.languageId);
    putGuid(out, 0x7C01FD10, 0x7BAA, 0x11D0, "\x9E\x0C\x00\xA0\xC9\x22\xE6\xEC");
    putGuid(out, 0x7C01FD11, 0x7BAA, 0x11D0, "\x9E\x0C\x00\xA0\xC9\x22\xE6\xEC");
    putU64(out, kItsfHeaderSize);
    putU64(out, kHeaderSection0Size);
    putU64(out, directoryOffset);
    putU64(out, directoryLength);
    putU64(out, contentOffset);

    putU32(out, 0x1FE);
    putU32(out, 0);
    putU64(out, fileSize);
    putU32(out, 0);
    putU32(out, 0);

    out += "ITSP";
    putU32(out, 1);
    putU32(out, kDirectoryHeaderSize);
    putU32(out, 0x0A);
    putU32(out, kChunkSize);
    putU32(out, kQuickRefDensity);
    putU32(out, static_cast<std::uint32_t>(dir.depth));
    putU32(out, static_cast<std::uint32_t>(dir.root));
    putU32(out, 0);
    putU32(out, static_cast<std::uint32_t>(dir.listingChunks - 1));
    putU32(out, 0xFFFFFFFF);
    putU32(out, static_cast<std::uint32_t>(dir.chunks.size()));
    putU32(out, 0x409);
    putGuid(out, 0x5D02926A, 0x212E, 0x11D0, "\x9D\xF9\x00\xA0\xC9\x22\xE6\xEC");
    putU32(out, kDirectoryHeaderSize);
    putU32(out, 0xFFFFFFFF);
    putU32(out, 0xFFFFFFFF);
    putU32(out, 0xFFFFFFFF);
    for (const auto& c : dir.chunks) out += c;
    out += section0;
    return out;
}

}  // namespace tarnbook::chm
