#include "viewer/PopupTexts.h"

#include <charconv>
#include <vector>

namespace tarnbook::viewer {

namespace {

constexpr std::string_view kTopic = ".topic";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool startsTopic(std::string_view line) {
    if (line.size() < kTopic.size()) return false;
    for (std::size_t i = 0; i < kTopic.size(); ++i)
        if ((line[i] | 0x20) != kTopic[i]) return false;  // the keyword in any letter case
    return line.size() == kTopic.size() || line[kTopic.size()] == ' ' ||
           line[kTopic.size()] == '\t';
}

// The popup number of a ".topic" line; nullopt for a symbolic name or a number out of range.
std::optional<std::uint32_t> topicNumber(std::string_view line) {
    const std::string_view rest = trimmed(line.substr(kTopic.size()));
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (ec != std::errc() || end != rest.data() + rest.size() || rest.empty()) return std::nullopt;
    return value;
}

std::string joined(const std::vector<std::string_view>& lines) {
    std::size_t first = 0, last = lines.size();
    while (first < last && lines[first].empty()) ++first;
    while (last > first && lines[last - 1].empty()) --last;
    std::string out;
    for (std::size_t i = first; i < last; ++i) {
        if (i > first) out += '\n';
        out += lines[i];
    }
    return out;
}

}  // namespace

PopupTexts PopupTexts::parse(std::string_view bytes) {
    PopupTexts out;
    std::optional<std::uint32_t> current;
    std::vector<std::string_view> lines;
    auto finish = [&] {
        if (current) out.texts_.emplace(*current, joined(lines));
        lines.clear();
    };
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        at = end + 1;
        if (startsTopic(trimmed(line))) {
            finish();
            current = topicNumber(trimmed(line));
            continue;
        }
        lines.push_back(trimmed(line));
    }
    finish();
    return out;
}

std::optional<std::string> PopupTexts::text(std::uint32_t id) const {
    const auto it = texts_.find(id);
    if (it == texts_.end()) return std::nullopt;
    return it->second;
}

}  // namespace tarnbook::viewer
