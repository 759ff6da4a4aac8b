#include "hhc/HhcLogWriter.h"

#include <cctype>

#include "hhc/PageLinks.h"

namespace tarnbook::hhc {

namespace {

std::string plural(std::int64_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

bool startsWithNoCase(std::string_view s, std::string_view p) {
    if (s.size() < p.size()) return false;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != p[i]) return false;
    return true;
}

}  // namespace

std::string groupThousands(std::uint64_t value) {
    std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string formatCompileLog(const CompileLogData& d) {
    std::vector<std::string> lines;
    lines.push_back(d.banner);
    lines.emplace_back();
    lines.push_back("Compiling " + d.target);
    lines.emplace_back();
    for (const auto& m : d.messages) lines.push_back(m.line());
    if (d.stats) {
        const auto& s = *d.stats;
        lines.emplace_back();
        lines.push_back("Compile time: " + plural(s.seconds / 60, "minute") + ", " +
                        plural(s.seconds % 60, "second"));
        lines.push_back(std::to_string(s.topics) + "\tTopics");
        lines.push_back(std::to_string(s.localLinks) + "\tLocal links");
        lines.push_back(std::to_string(s.internetLinks) + "\tInternet links");
        lines.push_back(std::to_string(s.graphics) + "\tGraphics");
        lines.emplace_back();
        lines.push_back("Created " + d.target + ", " + groupThousands(s.chmBytes) + " bytes");
        // The log reader takes the size from the 30th character on, so the wording up to
        // "by " must keep its length.
        const bool smaller = s.chmBytes <= s.sourceBytes;
        const std::uint64_t diff =
            smaller ? s.sourceBytes - s.chmBytes : s.chmBytes - s.sourceBytes;
        lines.push_back(std::string(smaller ? "Compression decreased" : "Compression increased") +
                        " file by " + groupThousands(diff) + " bytes.");
    }
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

void countLinks(std::string_view html, std::size_t* local, std::size_t* internet) {
    for (const std::string_view value : linkValues(html)) {
        if (value.empty() || value[0] == '#' || startsWithNoCase(value, "javascript:")) continue;
        if (isWebAddress(value))
            ++*internet;
        else
            ++*local;
    }
}

}  // namespace tarnbook::hhc
