#include "chm/LzxCompressor.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "chm/Huffman.h"

namespace tarnbook::chm {

namespace {

constexpr int kNumChars = 256;
constexpr int kMinMatch = 2;
constexpr int kMaxMatch = 257;
constexpr int kNumPrimaryLengths = 7;
constexpr int kNumSecondaryLengths = 249;
constexpr int kPretreeSymbols = 20;
constexpr int kAlignedSymbols = 8;
constexpr int kMaxSlots = 51;
constexpr int kHashBits = 15;

enum BlockType { kVerbatim = 1, kAligned = 2 };

struct SlotTables {
    std::array<std::uint32_t, kMaxSlots + 1> base{};
    std::array<std::uint8_t, kMaxSlots> extra{};
    SlotTables() {
        for (int i = 0; i < kMaxSlots; ++i) {
            extra[i] = static_cast<std::uint8_t>(i < 4 ? 0 : std::min((i - 2) / 2, 17));
            base[i + 1] = base[i] + (1u << extra[i]);
        }
    }
    int slotOf(std::uint32_t formatted) const {
        return static_cast<int>(std::upper_bound(base.begin(), base.end(), formatted) -
                                base.begin()) -
               1;
    }
};

const SlotTables& slots() {
    static const SlotTables tables;
    return tables;
}

int positionSlotsFor(int windowBits) {
    if (windowBits < 15 || windowBits > 21) throw std::invalid_argument("LZX window out of range");
    static constexpr int kSlots[] = {30, 32, 34, 36, 38, 42, 50};
    return kSlots[windowBits - 15];
}

// Bits are gathered most significant first into 16-bit words stored little-endian.
class BitWriter {
  public:
    explicit BitWriter(std::string& out) : out_(out) {}
    void put(std::uint32_t value, int bits) {
        while (bits > 0) {
            const int take = std::min(bits, 16);
            bits -= take;
            acc_ = (acc_ << take) | ((value >> bits) & ((1u << take) - 1));
            count_ += take;
            while (count_ >= 16) {
                count_ -= 16;
                const std::uint32_t word = (acc_ >> count_) & 0xFFFF;
                out_.push_back(static_cast<char>(word & 0xFF));
                out_.push_back(static_cast<char>(word >> 8));
            }
        }
    }
    void alignToWord() {
        if (count_ > 0) put(0, 16 - count_);
    }

  private:
    std::string& out_;
    std::uint64_t acc_ = 0;
    int count_ = 0;
};

struct Token {
    std::uint16_t mainSymbol;
    std::uint16_t lengthSymbol;  // 0xFFFF: none
    std::uint32_t footer;        // offset bits below the slot base
    std::uint8_t footerBits;
};

struct Tree {
    std::vector<std::uint8_t> lengths;
    std::vector<std::uint32_t> codes;
    void build(const std::vector<std::uint32_t>& freqs, int maxLength) {
        lengths = huffmanLengths(freqs, maxLength);
        codes = canonicalCodes(lengths);
    }
    void put(BitWriter& w, int symbol) const { w.put(codes[symbol], lengths[symbol]); }
};

// Writes new code lengths as deltas against the previous block's, through a pretree.
void writeLengths(BitWriter& w, const std::vector<std::uint8_t>& fresh,
                  const std::vector<std::uint8_t>& old, int first, int last) {
    struct Code {
        std::uint8_t symbol;
        std::uint8_t extraBits;
        std::uint8_t extra;
        std::uint8_t follow;  // pretree symbol after a run of 19; 0xFF: none
    };
    std::vector<Code> codes;
    auto delta = [&](int i, int value) {
        return static_cast<std::uint8_t>((old[i] - value + 17) % 17);
    };
    for (int i = first; i < last;) {
        int run = 1;
        while (i + run < last && fresh[i + run] == fresh[i]) ++run;
        if (fresh[i] == 0 && run >= 20) {
            run = std::min(run, 51);
            codes.push_back({18, 5, static_cast<std::uint8_t>(run - 20), 0xFF});
        } else if (fresh[i] == 0 && run >= 4) {
            codes.push_back({17, 4, static_cast<std::uint8_t>(run - 4), 0xFF});
        } else if (run >= 4) {
            run = std::min(run, 5);
            codes.push_back({19, 1, static_cast<std::uint8_t>(run - 4), delta(i, fresh[i])});
        } else {
            run = 1;
            codes.push_back({delta(i, fresh[i]), 0, 0, 0xFF});
        }
        i += run;
    }
    std::vector<std::uint32_t> freqs(kPretreeSymbols, 0);
    for (const auto& c : codes) {
        ++freqs[c.symbol];
        if (c.follow != 0xFF) ++freqs[c.follow];
    }
    Tree pretree;
    pretree.build(freqs, 15);
    for (int s = 0; s < kPretreeSymbols; ++s) w.put(pretree.lengths[s], 4);
    for (const auto& c : codes) {
        pretree.put(w, c.symbol);
        if (c.extraBits) w.put(c.extra, c.extraBits);
        if (c.follow != 0xFF) pretree.put(w, c.follow);
    }
}

class IntervalCoder {
  public:
    IntervalCoder(std::string_view data, int windowBits)
        : data_(data),
          windowSize_(std::size_t{1} << windowBits),
          mainSymbols_(kNumChars + positionSlotsFor(windowBits) * 8),
          head_(std::size_t{1} << kHashBits, -1),
          prev_(data.size(), -1),
          mainOld_(mainSymbols_, 0),
          lengthOld_(kNumSecondaryLengths, 0) {}

    // Codes the interval; frame offsets are relative to the start of `out` as it was.
    void run(int chainDepth, std::string& out, std::vector<std::uint64_t>& frameOffsets) {
        chainDepth_ = chainDepth;
        BitWriter w(out);
        bool first = true;
        for (std::size_t start = 0; start < data_.size(); start += kLzxFrameSize) {
            const std::size_t end = std::min(data_.size(), start + kLzxFrameSize);
            frameOffsets.push_back(out.size());
            std::vector<Token> tokens = parse(start, end);
            if (first) w.put(0, 1);  // no call translation
            first = false;
            writeBlock(w, tokens, static_cast<std::uint32_t>(end - start));
            w.alignToWord();
        }
    }

  private:
    std::uint32_t hashAt(std::size_t pos) const {
        const auto* p = reinterpret_cast<const unsigned char*>(data_.data()) + pos;
        const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    void insert(std::size_t pos) {
        if (pos + 3 > data_.size()) return;
        const std::uint32_t h = hashAt(pos);
        prev_[pos] = head_[h];
        head_[h] = static_cast<std::int32_t>(pos);
    }

    int commonLength(std::size_t a, std::size_t b, int limit) const {
        int n = 0;
        while (n < limit && data_[a + n] == data_[b + n]) ++n;
        return n;
    }

    struct Match {
        int length = 0;
        std::uint32_t distance = 0;
        int repeat = -1;  // 0..2 when the distance is a remembered one
    };

    Match bestMatch(std::size_t pos, std::size_t frameEnd) const {
        Match best;
        const int limit = static_cast<int>(std::min<std::size_t>(kMaxMatch, frameEnd - pos));
        if (limit < kMinMatch) return best;
        for (int r = 0; r < 3; ++r) {
            if (repeats_[r] > pos) continue;
            const int len = commonLength(pos, pos - repeats_[r], limit);
            if (len >= kMinMatch && len > best.length) best = {len, repeats_[r], r};
        }
        if (pos + 3 > data_.size()) return best;
        Match fresh;
        const std::size_t maxDistance = windowSize_ - 3;
        int depth = chainDepth_;
        for (std::int32_t cand = head_[hashAt(pos)]; cand >= 0 && depth-- > 0; cand = prev_[cand]) {
            const std::size_t dist = pos - static_cast<std::size_t>(cand);
            if (dist > maxDistance) break;
            if (fresh.length > 0 && data_[cand + fresh.length] != data_[pos + fresh.length])
                continue;
            const int len = commonLength(pos, cand, limit);
            if (len > fresh.length) {
                fresh = {len, static_cast<std::uint32_t>(dist), -1};
                if (len == limit) break;
            }
        }
        // A remembered distance needs no offset bits, so it wins unless clearly shorter; a
        // short fresh match far away costs more than its literals.
        if (fresh.length < 3 || (fresh.length == 3 && fresh.distance > 4096)) return best;
        if (best.length + 1 >= fresh.length) return best;
        return fresh;
    }

    Token literal(std::size_t pos) const {
        return {static_cast<unsigned char>(data_[pos]), 0xFFFF, 0, 0};
    }

    Token matchToken(const Match& m) {
        int slot;
        std::uint32_t footer = 0;
        std::uint8_t footerBits = 0;
        if (m.repeat >= 0) {
            slot = m.repeat;
            std::swap(repeats_[0], repeats_[m.repeat]);
        } else {
            const std::uint32_t formatted = m.distance + 2;
            slot = slots().slotOf(formatted);
            footerBits = slots().extra[slot];
            footer = formatted - slots().base[slot];
            repeats_[2] = repeats_[1];
            repeats_[1] = repeats_[0];
            repeats_[0] = m.distance;
        }
        const int lengthHeader = std::min(m.length - kMinMatch, kNumPrimaryLengths);
        const std::uint16_t lengthSymbol =
            lengthHeader == kNumPrimaryLengths
                ? static_cast<std::uint16_t>(m.length - kMinMatch - kNumPrimaryLengths)
                : 0xFFFF;
        return {static_cast<std::uint16_t>(kNumChars + slot * 8 + lengthHeader), lengthSymbol,
                footer, footerBits};
    }

    // Greedy parse with one step of lazy evaluation; matches never cross the frame's end.
    std::vector<Token> parse(std::size_t start, std::size_t end) {
        std::vector<Token> tokens;
        tokens.reserve((end - start) / 2);
        std::size_t pos = start;
        Match pending = bestMatch(pos, end);
        while (pos < end) {
            Match m = pending;
            if (m.length == 0) {
                tokens.push_back(literal(pos));
                insert(pos);
                ++pos;
                if (pos < end) pending = bestMatch(pos, end);
                continue;
            }
            insert(pos);
            if (pos + 1 < end && m.length < 64) {
                const Match next = bestMatch(pos + 1, end);
                if (next.length > m.length + (next.repeat >= 0 ? 0 : 1) &&
                    !(m.repeat >= 0 && next.repeat < 0 && next.length <= m.length + 2)) {
                    tokens.push_back(literal(pos));
                    ++pos;
                    pending = next;
                    continue;
                }
            }
            tokens.push_back(matchToken(m));
            for (int i = 1; i < m.length; ++i) insert(pos + i);
            pos += m.length;
            if (pos < end) pending = bestMatch(pos, end);
        }
        return tokens;
    }

    void writeBlock(BitWriter& w, const std::vector<Token>& tokens, std::uint32_t size) {
        std::vector<std::uint32_t> mainFreq(mainSymbols_, 0), lengthFreq(kNumSecondaryLengths, 0),
            alignedFreq(kAlignedSymbols, 0);
        std::uint64_t alignedCandidates = 0;
        for (const auto& t : tokens) {
            ++mainFreq[t.mainSymbol];
            if (t.lengthSymbol != 0xFFFF) ++lengthFreq[t.lengthSymbol];
            if (t.footerBits >= 3) {
                ++alignedFreq[t.footer & 7];
                ++alignedCandidates;
            }
        }
        Tree aligned;
        aligned.build(alignedFreq, 7);
        std::uint64_t alignedBits = kAlignedSymbols * 3;
        for (int s = 0; s < kAlignedSymbols; ++s)
            alignedBits += std::uint64_t{alignedFreq[s]} * aligned.lengths[s];
        const bool useAligned = alignedCandidates > 0 && alignedBits < alignedCandidates * 3;

        Tree mainTree, lengthTree;
        mainTree.build(mainFreq, 16);
        lengthTree.build(lengthFreq, 16);

        w.put(useAligned ? kAligned : kVerbatim, 3);
        w.put(size >> 8, 16);
        w.put(size & 0xFF, 8);
        if (useAligned)
            for (int s = 0; s < kAlignedSymbols; ++s) w.put(aligned.lengths[s], 3);
        writeLengths(w, mainTree.lengths, mainOld_, 0, kNumChars);
        writeLengths(w, mainTree.lengths, mainOld_, kNumChars, mainSymbols_);
        writeLengths(w, lengthTree.lengths, lengthOld_, 0, kNumSecondaryLengths);
        mainOld_ = mainTree.lengths;
        lengthOld_ = lengthTree.lengths;

        for (const auto& t : tokens) {
            mainTree.put(w, t.mainSymbol);
            if (t.mainSymbol < kNumChars) continue;
            if (t.lengthSymbol != 0xFFFF) lengthTree.put(w, t.lengthSymbol);
            if (useAligned && t.footerBits >= 3) {
                if (t.footerBits > 3) w.put(t.footer >> 3, t.footerBits - 3);
                aligned.put(w, static_cast<int>(t.footer & 7));
            } else if (t.footerBits > 0) {
                w.put(t.footer, t.footerBits);
            }
        }
    }

    std::string_view data_;
    std::size_t windowSize_;
    int mainSymbols_;
    int chainDepth_ = 64;
    std::vector<std::int32_t> head_;
    std::vector<std::int32_t> prev_;
    std::vector<std::uint8_t> mainOld_;
    std::vector<std::uint8_t> lengthOld_;
    std::array<std::uint32_t, 3> repeats_{1, 1, 1};
};

}  // namespace

LzxOutput lzxCompress(std::string_view input, const LzxOptions& options) {
    const std::size_t window = std::size_t{1} << options.windowBits;
    if (options.resetInterval == 0 || options.resetInterval % kLzxFrameSize != 0 ||
        options.resetInterval > window)
        throw std::invalid_argument("LZX reset interval must be whole frames within the window");
    positionSlotsFor(options.windowBits);

    const std::size_t intervals =
        (input.size() + options.resetInterval - 1) / options.resetInterval;
    struct Piece {
        std::string data;
        std::vector<std::uint64_t> frames;
    };
    std::vector<Piece> pieces(intervals);
    std::atomic<std::size_t> nextInterval{0};
    std::atomic<std::size_t> doneBytes{0};
    std::mutex progressLock;
    std::exception_ptr failure;
    auto work = [&] {
        for (;;) {
            const std::size_t i = nextInterval.fetch_add(1);
            if (i >= intervals) return;
            try {
                const std::size_t start = i * options.resetInterval;
                const std::string_view part =
                    input.substr(start, std::min(options.resetInterval, input.size() - start));
                // The last interval is coded as a whole one, padded with zeros: one reader
                // always decodes whole frames, and the Workshop compiler pads the same way.
                std::string padded;
                if (part.size() < options.resetInterval) {
                    padded.assign(part);
                    padded.resize(options.resetInterval, '\0');
                }
                IntervalCoder(padded.empty() ? part : std::string_view(padded), options.windowBits)
                    .run(options.chainDepth, pieces[i].data, pieces[i].frames);
                const std::size_t done = doneBytes.fetch_add(part.size()) + part.size();
                std::lock_guard<std::mutex> lock(progressLock);
                if (options.progress) options.progress(done, input.size());
            } catch (...) {
                std::lock_guard<std::mutex> lock(progressLock);
                if (!failure) failure = std::current_exception();
                nextInterval = intervals;
            }
        }
    };
    unsigned threads = options.threads ? options.threads : std::thread::hardware_concurrency();
    threads = std::max(1u, std::min<unsigned>(threads, static_cast<unsigned>(intervals)));
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (auto& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);

    LzxOutput out;
    for (auto& p : pieces) {
        for (auto f : p.frames) out.frameOffsets.push_back(out.data.size() + f);
        out.data += p.data;
    }
    // Frames of padding alone are not listed.
    out.frameOffsets.resize((input.size() + kLzxFrameSize - 1) / kLzxFrameSize);
    // A reader peeks up to two words past the last code it needs.
    if (!out.data.empty()) out.data.append(4, '\0');
    return out;
}

}  // namespace tarnbook::chm
