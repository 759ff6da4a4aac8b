#include "winhelp/HpjFile.h"

#include <cctype>
#include <functional>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "winhelp/TextLines.h"

namespace tarnbook::winhelp {

namespace platform = tarnbook::platform;

namespace {

// Deeper nesting than this is a loop of files including each other.
constexpr int kMaxIncludeDepth = 8;

// Removes a comment: ';' starts one at the beginning of a line or after a blank, "//" anywhere.
std::string_view withoutComment(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ';' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
        if (line[i] == '/' && i + 1 < line.size() && line[i + 1] == '/') return line.substr(0, i);
    }
    return line;
}

std::string unquoted(std::string_view text) {
    text = trimmed(text);
    if (text.size() >= 2 && ((text.front() == '"' && text.back() == '"') ||
                             (text.front() == '<' && text.back() == '>')))
        text = text.substr(1, text.size() - 2);
    return std::string(trimmed(text));
}

// Splits "a, b ,c" at commas into trimmed, non-empty parts.
std::vector<std::string> commaList(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const auto part = trimmed(text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (!part.empty()) out.emplace_back(part);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return out;
}

// Splits a line into blank-separated words (at most `limit`; the last takes the rest).
std::vector<std::string_view> words(std::string_view line, std::size_t limit) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size() && out.size() < limit) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        if (out.size() + 1 == limit) {
            out.push_back(trimmed(line.substr(i)));
            break;
        }
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
        out.push_back(line.substr(i, j - i));
        i = j;
    }
    return out;
}

class Parser {
  public:
    Parser(HpjProject& out) : out_(out) {}

    void parseText(std::string_view bytes, std::string_view sourceName, int depth) {
        std::string section;
        bool inBlockComment = false;
        for (const std::string& raw : platform::splitLines(bytes)) {
            std::string_view line = raw;
            if (inBlockComment) {
                const auto end = line.find("*/");
                if (end == std::string_view::npos) continue;
                line = line.substr(end + 2);
                inBlockComment = false;
            }
            const auto blockStart = line.find("/*");
            if (blockStart != std::string_view::npos) {
                const auto end = line.find("*/", blockStart + 2);
                if (end == std::string_view::npos) {
                    inBlockComment = true;
                    line = line.substr(0, blockStart);
                } else {
                    rest_ =
                        std::string(line.substr(0, blockStart)) + std::string(line.substr(end + 2));
                    line = rest_;
                }
            }
            line = trimmed(withoutComment(line));
            if (line.empty()) continue;
            if (line.front() == '[' && line.back() == ']') {
                section = lowerAscii(trimmed(line.substr(1, line.size() - 2)));
                continue;
            }
            if (startsWithNoCase(line, "#include")) {
                include(unquoted(line.substr(8)), section, sourceName, depth);
                continue;
            }
            dispatch(section.empty() ? sectionOfInclude_ : section, line, sourceName);
        }
    }

  private:
    void warn(std::string text) { out_.warnings.push_back(std::move(text)); }

    void include(const std::string& name, const std::string& section, std::string_view from,
                 int depth) {
        if (depth >= kMaxIncludeDepth) {
            warn(std::string(from) + ": #include " + name + " nested too deeply; skipped");
            return;
        }
        const auto path = findProjectFile(name, {out_.folder});
        if (!path) {
            warn(std::string(from) + ": #include file " + name + " not found");
            return;
        }
        const auto bytes = platform::tryReadFile(*path);
        if (!bytes) {
            warn(std::string(from) + ": #include file " + name + " cannot be read");
            return;
        }
        // An included header has no sections of its own; its lines belong to the includer's.
        const std::string saved = sectionOfInclude_;
        sectionOfInclude_ = section;
        parseText(*bytes, platform::fileNamePart(name), depth + 1);
        sectionOfInclude_ = saved;
    }

    void dispatch(const std::string& section, std::string_view line, std::string_view from) {
        if (section == "options")
            option(line);
        else if (section == "files")
            topicFile(line, from);
        else if (section == "map")
            mapLine(line, from);
        else if (section == "alias")
            aliasLine(line, from);
        else if (section == "windows")
            windowLine(line);
        else if (section == "bitmaps")
            bitmapFiles_.emplace_back(unquoted(line));
    }

    void option(std::string_view line) {
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) return;
        const std::string key = lowerAscii(trimmed(line.substr(0, eq)));
        const std::string value(trimmed(line.substr(eq + 1)));
        if (key == "title")
            out_.title = value;
        else if (key == "cnt")
            out_.contentsFile = unquoted(value);
        else if (key == "contents" || (key == "index" && out_.contentsTopic.empty()))
            out_.contentsTopic = value;
        else if (key == "lcid") {
            long long v = 0;
            const auto w = words(value, 2);
            if (!w.empty() && parseHelpNumber(w[0], &v)) out_.lcid = static_cast<int>(v);
        } else if (key == "charset") {
            long long v = 0;
            if (parseHelpNumber(value, &v)) out_.charset = static_cast<int>(v);
        } else if (key == "root") {
            for (const auto& f : commaList(value))
                out_.rootFolders.push_back(platform::joinPath(out_.folder, f));
        } else if (key == "bmroot") {
            for (const auto& f : commaList(value))
                out_.bitmapFolders.push_back(platform::joinPath(out_.folder, f));
        }
    }

    void topicFile(std::string_view line, std::string_view from) {
        topicNames_.emplace_back(unquoted(line), std::string(from));
    }

    void mapLine(std::string_view line, std::string_view from) {
        if (startsWithNoCase(line, "#define")) line = trimmed(line.substr(7));
        std::string_view id, number;
        const auto eq = line.find('=');
        if (eq != std::string_view::npos) {
            id = trimmed(line.substr(0, eq));
            number = trimmed(line.substr(eq + 1));
        } else {
            const auto w = words(line, 2);
            if (w.size() == 2) {
                id = w[0];
                number = w[1];
            }
        }
        long long value = 0;
        if (id.empty() || !parseHelpNumber(number, &value)) {
            warn(std::string(from) + ": [MAP] line not understood: " + std::string(line));
            return;
        }
        out_.map.push_back({std::string(id), value});
    }

    void aliasLine(std::string_view line, std::string_view from) {
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            warn(std::string(from) + ": [ALIAS] line not understood: " + std::string(line));
            return;
        }
        out_.aliases.push_back(
            {std::string(trimmed(line.substr(0, eq))), std::string(trimmed(line.substr(eq + 1)))});
    }

    void windowLine(std::string_view line) {
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) return;
        WindowDefinition w;
        w.name = std::string(trimmed(line.substr(0, eq)));
        w.definition = std::string(trimmed(line.substr(eq + 1)));
        const auto open = w.definition.find('"');
        if (open != std::string::npos) {
            const auto close = w.definition.find('"', open + 1);
            if (close != std::string::npos)
                w.caption = w.definition.substr(open + 1, close - open - 1);
        }
        out_.windows.push_back(std::move(w));
    }

  public:
    // Topic files and bitmaps are looked up once the options (ROOT, BMROOT) are all known.
    void resolveFiles() {
        std::vector<std::string> topicFolders = out_.rootFolders;
        topicFolders.push_back(out_.folder);
        for (const auto& [name, from] : topicNames_) {
            const auto path = findProjectFile(name, topicFolders);
            if (path)
                out_.topicFiles.push_back(*path);
            else
                warn(from + ": topic file " + name + " not found");
        }
        std::vector<std::string> bitmapFolders = out_.bitmapFolders;
        bitmapFolders.insert(bitmapFolders.end(), topicFolders.begin(), topicFolders.end());
        for (const auto& name : bitmapFiles_) {
            const auto path = findProjectFile(name, bitmapFolders);
            if (path)
                out_.bitmaps.push_back(*path);
            else
                warn("[BITMAPS]: " + name + " not found");
        }
    }

  private:
    HpjProject& out_;
    std::string sectionOfInclude_;
    std::string rest_;
    std::vector<std::pair<std::string, std::string>> topicNames_;
    std::vector<std::string> bitmapFiles_;
};

}  // namespace

bool parseHelpNumber(std::string_view text, long long* value) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // C headers may mark a number as long or unsigned.
    while (!text.empty() &&
           (text.back() == 'L' || text.back() == 'l' || text.back() == 'U' || text.back() == 'u'))
        text.remove_suffix(1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 15) return false;
    long long v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
            d = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        else
            return false;
        v = v * base + d;
    }
    *value = negative ? -v : v;
    return true;
}

std::optional<std::string> findProjectFile(std::string_view name,
                                           const std::vector<std::string>& folders) {
    std::string n(trimmed(name));
    if (n.empty()) return std::nullopt;
    // A path of the machine the project was written on ("C:\help\a.rtf") can only be found
    // by its file name.
    const bool foreign = (n.size() > 1 && n[1] == ':') || platform::isAbsolutePath(n);
    if (foreign && platform::fileExists(n)) return n;
    const std::string relative = foreign ? platform::fileNamePart(n) : n;
    for (const auto& folder : folders) {
        const std::string candidate = platform::joinPath(folder, relative);
        if (platform::fileExists(candidate)) return candidate;
    }
    if (!foreign) {
        // Projects often name files with a folder that was flattened when they were copied.
        const std::string bare = platform::fileNamePart(relative);
        for (const auto& folder : folders) {
            const std::string candidate = platform::joinPath(folder, bare);
            if (bare != relative && platform::fileExists(candidate)) return candidate;
        }
    }
    return std::nullopt;
}

HpjProject parseHpj(std::string_view bytes, std::string_view folder) {
    HpjProject out;
    out.folder = folder.empty() ? std::string(".") : std::string(folder);
    Parser p(out);
    p.parseText(bytes, "project file", 0);
    p.resolveFiles();
    return out;
}

HpjProject readHpj(std::string_view path) {
    const std::string bytes = platform::readFile(path);
    HpjProject out = parseHpj(bytes, platform::folderPart(path));
    out.path = std::string(path);
    return out;
}

}  // namespace tarnbook::winhelp
