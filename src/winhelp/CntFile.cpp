#include "winhelp/CntFile.h"

#include "platform/Files.h"
#include "platform/Paths.h"
#include "winhelp/HpjFile.h"
#include "winhelp/TextLines.h"

namespace tarnbook::winhelp {

namespace platform = tarnbook::platform;

namespace {

constexpr int kMaxIncludeDepth = 8;
// Levels beyond this are damage, not structure; WinHelp itself stops at nine.
constexpr int kMaxLevel = 64;

// The position of the first '=' that is not escaped as "\=".
std::size_t unescapedEquals(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (text[i] == '=') return i;
    }
    return std::string_view::npos;
}

std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '=' || text[i + 1] == '\\'))
            ++i;
        out.push_back(text[i]);
    }
    return out;
}

void parseInto(CntFile& out, std::string_view bytes, std::string_view folder, std::string_view name,
               int levelOffset, int depth) {
    int lastBookLevel = 0;
    for (const std::string& raw : platform::splitLines(bytes)) {
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == ':') {
            const auto blank = line.find_first_of(" \t");
            const std::string command = lowerAscii(line.substr(0, blank));
            const std::string_view arg =
                blank == std::string_view::npos ? std::string_view() : trimmed(line.substr(blank));
            if (command == ":base" && depth == 0)
                out.base = std::string(arg);
            else if (command == ":title" && depth == 0)
                out.title = std::string(arg);
            else if (command == ":include") {
                if (depth >= kMaxIncludeDepth) {
                    out.warnings.push_back(std::string(name) + ": :Include " + std::string(arg) +
                                           " nested too deeply; skipped");
                    continue;
                }
                const auto path = findProjectFile(arg, {std::string(folder)});
                const auto text = path ? platform::tryReadFile(*path) : std::nullopt;
                if (!text) {
                    out.warnings.push_back(std::string(name) + ": :Include file " +
                                           std::string(arg) + " not found");
                    continue;
                }
                parseInto(out, *text, folder, platform::fileNamePart(arg),
                          levelOffset + lastBookLevel, depth + 1);
            }
            continue;  // :Index, :Link, :Tab, :Nofind name other help files
        }
        std::size_t digits = 0;
        while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
        if (digits == 0 || digits > 3) {
            out.warnings.push_back(std::string(name) +
                                   ": line without a level: " + std::string(line));
            continue;
        }
        CntEntry e;
        e.level = std::stoi(std::string(line.substr(0, digits))) + levelOffset;
        if (e.level < 1 || e.level > kMaxLevel) {
            out.warnings.push_back(std::string(name) +
                                   ": level out of range: " + std::string(line));
            continue;
        }
        const std::string_view rest = trimmed(line.substr(digits));
        const std::size_t eq = unescapedEquals(rest);
        if (eq == std::string_view::npos) {
            e.book = true;
            e.title = unescaped(rest);
            lastBookLevel = e.level - levelOffset;
        } else {
            e.title = unescaped(trimmed(rest.substr(0, eq)));
            std::string_view target = trimmed(rest.substr(eq + 1));
            if (!target.empty() && target.front() == '!') {
                e.macro = true;
                e.context = std::string(target.substr(1));
            } else {
                const auto gt = target.find('>');
                if (gt != std::string_view::npos) {
                    e.window = std::string(trimmed(target.substr(gt + 1)));
                    target = trimmed(target.substr(0, gt));
                }
                const auto at = target.find('@');
                if (at != std::string_view::npos) {
                    e.helpFile = std::string(trimmed(target.substr(at + 1)));
                    target = trimmed(target.substr(0, at));
                }
                e.context = std::string(target);
            }
        }
        out.entries.push_back(std::move(e));
    }
}

}  // namespace

CntFile parseCnt(std::string_view bytes, std::string_view folder) {
    CntFile out;
    parseInto(out, bytes, folder.empty() ? std::string_view(".") : folder, "contents file", 0, 0);
    return out;
}

CntFile readCnt(std::string_view path) {
    return parseCnt(platform::readFile(path), platform::folderPart(path));
}

}  // namespace tarnbook::winhelp
