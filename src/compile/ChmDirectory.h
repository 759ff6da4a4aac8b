#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reader of the directory of a compiled help file (ITSF container): the header, the directory
// header and the chain of listing chunks, without decompressing anything. It exists because
// chmcmd, for a directory of several chunks, may record the wrong first listing chunk; chmlib
// then silently sees only part of the files. The reader finds the real chain and the repair
// rewrites the two chunk numbers.
namespace tarnbook::compile {

struct ChmDirectoryEntry {
    std::string name;  // UTF-8 as stored, e.g. "/index.htm" or "::DataSpace/NameList"
    std::uint64_t section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct ChmDirectory {
    std::uint64_t directoryOffset = 0;  // of the directory header in the file
    std::uint32_t chunkSize = 0;
    std::uint32_t chunkCount = 0;
    std::int32_t indexRoot = -1;      // as recorded
    std::int32_t recordedFirst = -1;  // first listing chunk as recorded
    std::int32_t recordedLast = -1;   // last listing chunk as recorded
    std::int32_t chainFirst = -1;     // as found by following the chunks' links
    std::int32_t chainLast = -1;
    std::vector<ChmDirectoryEntry> entries;  // every entry, in chain order

    bool needsRepair() const { return recordedFirst != chainFirst || recordedLast != chainLast; }
};

// Parses the directory from the first bytes of a file (at least up to the directory's end).
// Returns false with a readable reason for anything that is not a sound directory.
bool readChmDirectory(std::string_view bytes, ChmDirectory* out, std::string* error);

// Corrects the recorded first and last listing chunk in `bytes` when they differ from the
// chain. Returns false (bytes unchanged) when the directory cannot be read.
bool repairChmDirectoryBytes(std::string& bytes, bool* changed, std::string* error);

// File form of the repair: rewrites the file (atomically) only when a change is needed.
bool repairChmDirectoryFile(const std::string& path, bool* changed, std::string* error);

}  // namespace tarnbook::compile
