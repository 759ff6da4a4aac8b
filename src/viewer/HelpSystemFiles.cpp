#include "viewer/HelpSystemFiles.h"

#include <algorithm>

namespace tarnbook::viewer {

namespace {

std::uint32_t u32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
std::uint16_t u16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

// The zero-terminated text at `at`, cut at the end of the data.
std::string cText(std::string_view b, std::size_t at) {
    if (at >= b.size()) return {};
    const std::size_t end = b.find('\0', at);
    return std::string(b.substr(at, end == std::string_view::npos ? b.size() - at : end - at));
}

void readSystem(std::string_view s, HelpSystemInfo* out) {
    std::size_t pos = 4;  // version
    while (pos + 4 <= s.size()) {
        const std::uint16_t code = u16(s, pos);
        const std::uint16_t length = u16(s, pos + 2);
        pos += 4;
        if (length > s.size() - pos) break;
        const std::string_view data = s.substr(pos, length);
        switch (code) {
            case 0:
                out->contentsFile = cText(data, 0);
                break;
            case 1:
                out->indexFile = cText(data, 0);
                break;
            case 2:
                out->defaultTopic = cText(data, 0);
                break;
            case 3:
                out->title = cText(data, 0);
                break;
            case 4:
                if (data.size() >= 4) out->languageId = u32(data, 0);
                break;
            case 5:
                out->defaultWindow = cText(data, 0);
                break;
            default:
                break;
        }
        pos += length;
    }
}

bool equalNames(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

void readWindows(std::string_view w, std::string_view strings, HelpSystemInfo* out) {
    if (w.size() < 8) return;
    const std::uint32_t count = u32(w, 0);
    const std::uint32_t size = u32(w, 4);
    if (size < 0x70) return;
    // The default window, else the first one.
    std::optional<std::string_view> chosen;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = 8 + i * size;
        if (at + size > w.size()) break;
        const std::string_view e = w.substr(static_cast<std::size_t>(at), size);
        if (u32(e, 4) != 0) continue;  // UTF-16 strings: not written by any known compiler
        if (!chosen) chosen = e;
        if (equalNames(cText(strings, u32(e, 8)), out->defaultWindow)) {
            chosen = e;
            break;
        }
    }
    if (!chosen) return;
    const std::string_view e = *chosen;
    const std::string caption = cText(strings, u32(e, 0x14));
    if (!caption.empty()) out->title = caption;
    if (u32(e, 12) & 0x10) {
        const WindowGeometry g{
            static_cast<std::int32_t>(u32(e, 0x20)), static_cast<std::int32_t>(u32(e, 0x24)),
            static_cast<std::int32_t>(u32(e, 0x28)), static_cast<std::int32_t>(u32(e, 0x2C))};
        if (g.width() > 0 && g.height() > 0) out->window = g;
    }
    const std::string toc = cText(strings, u32(e, 0x60));
    const std::string index = cText(strings, u32(e, 0x64));
    const std::string file = cText(strings, u32(e, 0x68));
    if (!toc.empty()) out->contentsFile = toc;
    if (!index.empty()) out->indexFile = index;
    if (!file.empty()) out->defaultTopic = file;
}

void readIvb(std::string_view ivb, std::string_view strings, HelpSystemInfo* out) {
    if (ivb.size() < 4) return;
    const std::uint64_t bytes = std::min<std::uint64_t>(u32(ivb, 0), ivb.size() - 4);
    for (std::size_t at = 4; at + 8 <= 4 + bytes; at += 8) {
        std::string target = cText(strings, u32(ivb, at + 4));
        if (!target.empty()) out->contextTargets.emplace(u32(ivb, at), std::move(target));
    }
}

void readMergeList(std::string_view h, std::string_view strings, HelpSystemInfo* out) {
    constexpr std::size_t kCount = 0x48, kFirst = 0x50;
    if (h.size() < kFirst || h.substr(0, 4) != "T#SM") return;
    const std::uint32_t count = u32(h, kCount);
    for (std::uint64_t i = 0; i < count && kFirst + 4 * i + 4 <= h.size(); ++i) {
        std::string name = cText(strings, u32(h, static_cast<std::size_t>(kFirst + 4 * i)));
        if (!name.empty()) out->mergeFiles.push_back(std::move(name));
    }
}

}  // namespace

HelpSystemInfo readHelpSystemInfo(const SystemEntries& entries) {
    HelpSystemInfo info;
    readSystem(entries.system, &info);
    readWindows(entries.windows, entries.strings, &info);
    readIvb(entries.ivb, entries.strings, &info);
    readMergeList(entries.idxhdr, entries.strings, &info);
    return info;
}

}  // namespace tarnbook::viewer
