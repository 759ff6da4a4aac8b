// INI reader: whatever the bytes, parsing must not fail, and writing back and parsing again
// must give the same sections, keys, values and lines. Input: INI text, optionally followed by
// "\0section\0key\0value" which is written into the object before the round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"

using tarnbook::platform::IniFile;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

std::vector<std::string_view> splitAtNul(std::string_view s) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t nul = s.find('\0', start);
        if (nul == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, nul - start));
        start = nul + 1;
    }
}

void expectSameContent(const IniFile& a, const IniFile& b) {
    check(a.sectionNames() == b.sectionNames());
    for (const std::string& section : a.sectionNames()) {
        check(b.sectionExists(section));
        check(a.keyNames(section) == b.keyNames(section));
        check(a.sectionLines(section) == b.sectionLines(section));
        for (const std::string& key : a.keyNames(section)) {
            check(a.readString(section, key) == b.readString(section, key, "\x01missing"));
            check(a.readInteger(section, key, 7) == b.readInteger(section, key, 7));
            check(a.readBool(section, key, true) == b.readBool(section, key, true));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts = splitAtNul(input);

    IniFile ini = IniFile::fromBytes(parts[0]);
    if (parts.size() >= 4) {
        ini.writeString(parts[1], parts[2], parts[3]);
        std::string_view key = parts[2];
        while (!key.empty() && (key.front() == ' ' || key.front() == '\t')) key.remove_prefix(1);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
        bool storable = !key.empty() && key.find_first_of("=\r\n") == std::string_view::npos &&
                        key.front() != ';' && key.front() != '[' &&
                        parts[1].find_first_of("\r\n") == std::string_view::npos;
        check(ini.valueExists(parts[1], parts[2]) == storable);
    }
    if (parts.size() >= 6) ini.eraseKey(parts[4], parts[5]);
    if (parts.size() >= 7) ini.eraseSection(parts[6]);

    const std::string bytes = ini.toBytes();
    IniFile again = IniFile::fromBytes(bytes);
    expectSameContent(ini, again);
    expectSameContent(again, IniFile::fromBytes(again.toBytes()));

    long long value = 0;
    IniFile::parseInteger(parts[0], &value);
    return 0;
}
