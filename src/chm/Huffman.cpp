#include "chm/Huffman.h"

#include <algorithm>
#include <queue>
#include <stdexcept>

namespace tarnbook::chm {

namespace {

// Plain Huffman lengths (unlimited) for the symbols with nonzero frequency.
std::vector<int> unlimitedLengths(const std::vector<std::uint64_t>& freqs) {
    struct Node {
        std::uint64_t weight;
        int index;
    };
    const std::size_t n = freqs.size();
    std::vector<int> parent(2 * n, -1);
    auto heavier = [](const Node& a, const Node& b) {
        return a.weight != b.weight ? a.weight > b.weight : a.index > b.index;
    };
    std::priority_queue<Node, std::vector<Node>, decltype(heavier)> heap(heavier);
    for (std::size_t i = 0; i < n; ++i)
        if (freqs[i]) heap.push({freqs[i], static_cast<int>(i)});
    int next = static_cast<int>(n);
    while (heap.size() > 1) {
        const Node a = heap.top();
        heap.pop();
        const Node b = heap.top();
        heap.pop();
        parent[a.index] = next;
        parent[b.index] = next;
        heap.push({a.weight + b.weight, next++});
    }
    std::vector<int> lengths(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (!freqs[i]) continue;
        int depth = 0;
        for (int p = parent[i]; p != -1; p = parent[p]) ++depth;
        lengths[i] = depth;
    }
    return lengths;
}

}  // namespace

std::vector<std::uint8_t> huffmanLengths(const std::vector<std::uint32_t>& freqs, int maxLength) {
    std::vector<std::uint64_t> f(freqs.begin(), freqs.end());
    const auto used = std::count_if(f.begin(), f.end(), [](std::uint64_t v) { return v != 0; });
    std::vector<std::uint8_t> out(f.size(), 0);
    if (used == 0 || f.size() < 2) return out;
    if (maxLength < 1 || maxLength > 32 || static_cast<std::uint64_t>(used) > (1ull << maxLength))
        throw std::invalid_argument("no prefix code of that many symbols fits the length limit");
    if (used == 1) {
        // A lone symbol still needs a partner for the code to be complete.
        const std::size_t only = static_cast<std::size_t>(
            std::find_if(f.begin(), f.end(), [](std::uint64_t v) { return v != 0; }) - f.begin());
        f[only == 0 ? 1 : 0] = 1;
    }
    // Flattening the frequencies until the deepest code fits keeps the code complete and
    // costs little: it only happens for very skewed blocks.
    for (;;) {
        const std::vector<int> lengths = unlimitedLengths(f);
        if (*std::max_element(lengths.begin(), lengths.end()) <= maxLength) {
            for (std::size_t i = 0; i < f.size(); ++i)
                out[i] = static_cast<std::uint8_t>(lengths[i]);
            return out;
        }
        for (auto& v : f)
            if (v) v = (v >> 1) | 1;
    }
}

std::vector<std::uint32_t> canonicalCodes(const std::vector<std::uint8_t>& lengths) {
    std::vector<std::uint32_t> codes(lengths.size(), 0);
    std::uint32_t code = 0;
    const int maxLen = lengths.empty() ? 0 : *std::max_element(lengths.begin(), lengths.end());
    for (int len = 1; len <= maxLen; ++len) {
        for (std::size_t s = 0; s < lengths.size(); ++s)
            if (lengths[s] == len) codes[s] = code++;
        code <<= 1;
    }
    return codes;
}

}  // namespace tarnbook::chm
