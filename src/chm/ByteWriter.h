#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Little-endian appenders and the variable-length integers (ENCINT) of the compiled-help
// container, shared by the container and the system files.
namespace tarnbook::chm {

inline void putU8(std::string& out, std::uint8_t v) {
    out.push_back(static_cast<char>(v));
}

inline void putU16(std::string& out, std::uint16_t v) {
    putU8(out, static_cast<std::uint8_t>(v));
    putU8(out, static_cast<std::uint8_t>(v >> 8));
}

inline void putU32(std::string& out, std::uint32_t v) {
    putU16(out, static_cast<std::uint16_t>(v));
    putU16(out, static_cast<std::uint16_t>(v >> 16));
}

inline void putU64(std::string& out, std::uint64_t v) {
    putU32(out, static_cast<std::uint32_t>(v));
    putU32(out, static_cast<std::uint32_t>(v >> 32));
}

// The matching readers, for checks of what was written (the caller keeps `at` in range).
inline std::uint16_t getU16(std::string_view s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                      (static_cast<unsigned char>(s[at + 1]) << 8));
}

inline std::uint32_t getU32(std::string_view s, std::size_t at) {
    return getU16(s, at) | (std::uint32_t{getU16(s, at + 2)} << 16);
}

// Overwrites four bytes at `at` (the slot was reserved earlier).
inline void patchU32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(v >> (8 * i));
}

// Seven bits per byte, most significant group first, the high bit set on all but the last.
inline std::string encInt(std::uint64_t v) {
    char buf[10];
    int n = 0;
    do {
        buf[n++] = static_cast<char>(v & 0x7F);
        v >>= 7;
    } while (v != 0);
    std::string out;
    for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<char>(buf[i] | (i ? 0x80 : 0)));
    return out;
}

// A GUID in its registry text form's field order, stored as Windows stores it.
inline void putGuid(std::string& out, std::uint32_t a, std::uint16_t b, std::uint16_t c,
                    const char (&rest8)[9]) {
    putU32(out, a);
    putU16(out, b);
    putU16(out, c);
    out.append(rest8, 8);
}

}  // namespace tarnbook::chm
