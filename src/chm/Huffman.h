#pragma once
#include <cstdint>
#include <vector>

// Canonical prefix codes as LZX stores them: code lengths limited to a maximum, codes handed
// out in order of length, then symbol.
namespace tarnbook::chm {

// Code lengths for the given symbol frequencies, none longer than maxLength. Symbols with a
// zero frequency get length 0. The decoders refuse a code with a single symbol, so when fewer
// than two symbols occur, a second one is given a code as well; the result is always a
// complete code unless every frequency is zero. Throws std::invalid_argument when more
// symbols occur than codes of maxLength bits can tell apart.
std::vector<std::uint8_t> huffmanLengths(const std::vector<std::uint32_t>& freqs, int maxLength);

// The canonical codes for the lengths (bit patterns right-aligned).
std::vector<std::uint32_t> canonicalCodes(const std::vector<std::uint8_t>& lengths);

}  // namespace tarnbook::chm
