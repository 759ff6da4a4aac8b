#include "hhc/ProjectAdapter.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::hhc {

namespace {

constexpr int kMaxIncludeDepth = 8;

bool startsWith(std::string_view s, std::string_view p) {
    return s.substr(0, p.size()) == p;
}

std::string unquote(std::string_view text) {
    std::string t = trimBlanks(text);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    return trimBlanks(t);
}

// A file reference as chmcmd wants it: no quotes, '/' separators, no leading "./".
std::string cleanReference(std::string_view text) {
    std::string t = platform::slashSeparators(unquote(text));
    while (startsWith(t, "./")) t.erase(0, 2);
    return t;
}

std::string lowerAscii(std::string_view s) {
    return platform::lowerCaseSjis(s);
}

// Splits "page.htm#anchor" at the '#'; the anchor keeps its '#'.
std::pair<std::string, std::string> splitAnchor(const std::string& ref) {
    const std::size_t hash = ref.find('#');
    if (hash == std::string::npos) return {ref, {}};
    return {ref.substr(0, hash), ref.substr(hash)};
}

class Adapter {
  public:
    Adapter(const HhpFile& original, const AdaptOptions& options)
        : options_(options), folder_(platform::slashSeparators(options.projectFolder)) {
        while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
        nativeFolder_ = platform::nativePath(folder_).str();
        while (nativeFolder_.size() > 1 && nativeFolder_.back() == '/') nativeFolder_.pop_back();
        out_.hhp = original;
    }

    AdaptedProject run() {
        moveLooseOptions();
        adaptOptions();
        adaptWindows();
        adaptAliases();
        adaptMap();
        adaptPopups();
        adaptMergeFiles();
        adaptFiles();
        return std::move(out_);
    }

  private:
    enum class Where { Inside, Missing, Outside };
    struct Resolved {
        Where where = Where::Missing;
        std::string relative;  // native (UTF-8) name relative to the project folder, '/'
    };

    void report(int number, Severity severity, std::string text) {
        out_.messages.push_back(HhcMessage{number, severity, std::move(text)});
    }

    // A reference relative to the project folder (or absolute inside it), matched against the
    // disk without regard to letter case.
    Resolved resolve(const std::string& ref) const {
        Resolved r;
        if (ref.empty()) return r;
        std::string rel;
        if (platform::isAbsolutePath(ref)) {
            const std::string abs = normalizeAbsolute(ref);
            if (!startsWith(abs, folder_ + "/")) {
                r.where = Where::Outside;
                return r;
            }
            rel = abs.substr(folder_.size() + 1);
        } else {
            bool escapes = false;
            rel = platform::slashSeparators(platform::normalizeRelative(ref, &escapes));
            if (escapes) {
                r.where = Where::Outside;
                return r;
            }
        }
        if (rel.empty()) return r;
        const std::string full = folder_ + "/" + rel;
        if (!platform::fileExists(full)) return r;
        const std::string native = platform::nativePath(full).str();
        if (!startsWith(native, nativeFolder_ + "/")) {
            r.where = Where::Outside;
            return r;
        }
        r.where = Where::Inside;
        r.relative = native.substr(nativeFolder_.size() + 1);
        return r;
    }

    std::string absoluteInProjectFolder(const std::string& ref) const {
        if (platform::isAbsolutePath(ref)) return normalizeAbsolute(ref);
        return normalizeAbsolute(folder_ + "/" + ref);
    }

    // Keys written before the first section, as some hand-made projects have them, are meant
    // for [OPTIONS]; chmcmd would not see them there.
    void moveLooseOptions() {
        auto& pre = out_.hhp.preamble();
        std::vector<std::string> kept;
        std::vector<std::pair<std::string, std::string>> moved;
        for (const auto& line : pre) {
            std::string k, v;
            const std::string t = trimBlanks(line);
            if (!t.empty() && t[0] != ';' && splitKeyValue(t, &k, &v) && !k.empty())
                moved.emplace_back(k, v);
            else
                kept.push_back(line);
        }
        pre = std::move(kept);
        for (const auto& [k, v] : moved)
            if (!out_.hhp.option(k)) out_.hhp.setOption(k, v);
    }

    void adaptOptions() {
        HhpFile& h = out_.hhp;
        const std::string compiled = cleanReference(h.option("Compiled file").value_or(""));
        // The Workshop compiler names the result after the project when the key is missing.
        out_.targetChm = absoluteInProjectFolder(
            compiled.empty() ? platform::changeExtension(options_.hhpFileName, ".chm") : compiled);
        h.setOption("Compiled file", out_.targetChm);

        const std::string log = cleanReference(h.option("Error log file").value_or(""));
        if (!log.empty()) out_.errorLog = absoluteInProjectFolder(log);
        // The driver writes the log itself.
        h.removeOption("Error log file");

        for (const char* key : {"Contents file", "Index file"}) {
            auto value = h.option(key);
            if (!value) continue;
            const std::string ref = cleanReference(*value);
            if (ref.empty()) {
                h.removeOption(key);
                continue;
            }
            const Resolved r = resolve(ref);
            if (r.where == Where::Inside) {
                h.setOption(key, r.relative);
                out_.listedFiles.push_back(r.relative);
            } else {
                h.removeOption(key);
                report(msg::kCannotOpen, Severity::Error,
                       std::string("The ") + (key[0] == 'C' ? "contents" : "index") + " file " +
                           unquote(*value) + " cannot be opened" +
                           (r.where == Where::Outside ? " (it lies outside the project folder)."
                                                      : "."));
            }
        }

        if (auto topic = h.option("Default topic"))
            h.setOption("Default topic", pageReference(*topic));
        if (auto stop = h.option("Full text search stop list file")) {
            const Resolved r = resolve(cleanReference(*stop));
            if (r.where == Where::Inside)
                h.setOption("Full text search stop list file", r.relative);
            else
                h.removeOption("Full text search stop list file");
        }
    }

    // A page reference (with an optional anchor) in the form chmcmd stores: relative, '/',
    // the name as on disk when the file exists.
    std::string pageReference(std::string_view value) const {
        std::string ref = cleanReference(value);
        if (ref.empty()) return ref;
        if (ref.find("://") != std::string::npos || startsWith(lowerAscii(ref), "mk:@msitstore:") ||
            startsWith(lowerAscii(ref), "ms-its:"))
            return ref;
        auto [file, anchor] = splitAnchor(ref);
        const Resolved r = resolve(file);
        if (r.where == Where::Inside) return r.relative + anchor;
        if (platform::isAbsolutePath(file)) {
            const std::string abs = normalizeAbsolute(file);
            if (startsWith(abs, folder_ + "/")) return abs.substr(folder_.size() + 1) + anchor;
        }
        return ref;
    }

    // Window definitions: the contents, index, default and home fields name files, which the
    // Workshop compiler stores relative to the project; chmcmd stores them as written.
    void adaptWindows() {
        auto* s = out_.hhp.section("WINDOWS");
        if (!s) return;
        for (auto& line : s->lines) {
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos || trimBlanks(line).starts_with(";")) continue;
            std::vector<std::string> fields =
                splitWindowFields(std::string_view(line).substr(eq + 1));
            for (std::size_t i = 1; i <= 4 && i < fields.size(); ++i) {
                const std::string t = trimBlanks(fields[i]);
                const bool quoted = t.size() >= 2 && t.front() == '"' && t.back() == '"';
                const std::string inner = unquote(t);
                if (inner.empty()) continue;
                const std::string page = pageReference(inner);
                fields[i] = quoted ? "\"" + page + "\"" : page;
            }
            std::string joined;
            for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? "," : "") + fields[i];
            line = line.substr(0, eq + 1) + joined;
        }
    }

    // Lines of an "#include"d file, or nullopt when it cannot be read.
    // The file an #include names, without its quotes or angle brackets, '/' separated.
    static std::string includeName(const std::string& rawName) {
        std::string name = trimBlanks(rawName);
        if (name.size() >= 2 && ((name.front() == '"' && name.back() == '"') ||
                                 (name.front() == '<' && name.back() == '>')))
            name = name.substr(1, name.size() - 2);
        return platform::slashSeparators(trimBlanks(name));
    }

    std::optional<std::vector<std::string>> includedLines(const std::string& rawName) const {
        const std::string name = includeName(rawName);
        const std::string path = platform::isAbsolutePath(name) ? name : folder_ + "/" + name;
        auto bytes = platform::tryReadFile(path);
        if (!bytes) return std::nullopt;
        std::string_view b = *bytes;
        if (b.substr(0, 3) == "\xEF\xBB\xBF") b.remove_prefix(3);
        return platform::splitLines(b);
    }

    static bool includeDirective(const std::string& line, std::string* file) {
        const std::string t = trimBlanks(line);
        if (t.size() < 8 || !equalsNoCase(std::string_view(t).substr(0, 8), "#include"))
            return false;
        *file = trimBlanks(std::string_view(t).substr(8));
        return true;
    }

    void adaptAliases() {
        auto* s = out_.hhp.section("ALIAS");
        if (!s) return;
        std::vector<std::string> lines;
        addAliasLines(s->lines, &lines, 0);
        s->lines = std::move(lines);
    }

    void addAliasLines(const std::vector<std::string>& in, std::vector<std::string>* out,
                       int depth) {
        for (const auto& line : in) {
            const std::string t = trimBlanks(line);
            std::string file;
            if (includeDirective(t, &file)) {
                auto included = depth < kMaxIncludeDepth ? includedLines(file) : std::nullopt;
                if (!included) {
                    report(msg::kCannotOpen, Severity::Error,
                           "The alias file " + file + " cannot be opened.");
                    continue;
                }
                addAliasLines(*included, out, depth + 1);
                continue;
            }
            std::string key, value;
            if (t.empty() || t[0] == ';' || !splitKeyValue(t, &key, &value) || key.empty()) {
                if (!t.empty() && t[0] != ';')
                    report(msg::kBadContextId, Severity::Warning,
                           "The [ALIAS] line \"" + t +
                               "\" is not of the form id=file; it is left out.");
                continue;
            }
            const std::string ref = cleanReference(value);
            auto [file2, anchor] = splitAnchor(ref);
            const Resolved r = resolve(file2);
            if (r.where != Where::Inside) {
                report(msg::kFileNotFound, Severity::Warning,
                       "The alias " + key + " points to " + unquote(value) +
                           (r.where == Where::Outside ? ", which lies outside the project folder"
                                                      : ", which does not exist") +
                           "; the alias is left out.");
                continue;
            }
            if (aliasKeys_.count(key)) {
                report(msg::kBadContextId, Severity::Warning,
                       "The alias " + key + " is defined more than once; the first one is used.");
                continue;
            }
            aliasKeys_.insert(key);
            aliasTargets_.push_back(r.relative);
            out->push_back(key + "=" + r.relative + anchor);
        }
    }

    // chmcmd refuses a project whose [MAP] names an id without an alias, where the Workshop
    // compiler only warns; such ids are left out, and included map files are inlined so that
    // they can be.
    void adaptMap() {
        auto* s = out_.hhp.section("MAP");
        if (!s) return;
        std::vector<std::string> lines;
        addMapLines(s->lines, &lines, 0);
        s->lines = std::move(lines);
    }

    void addMapLines(const std::vector<std::string>& in, std::vector<std::string>* out, int depth) {
        bool inComment = false;
        for (const auto& raw : in) {
            std::string t = trimBlanks(raw);
            if (inComment) {
                const std::size_t end = t.find("*/");
                if (end == std::string::npos) continue;
                t = trimBlanks(std::string_view(t).substr(end + 2));
                inComment = false;
            }
            if (const std::size_t c = t.find("//"); c != std::string::npos)
                t = trimBlanks(t.substr(0, c));
            if (const std::size_t c = t.find("/*"); c != std::string::npos) {
                const std::size_t end = t.find("*/", c + 2);
                if (end == std::string::npos) inComment = true;
                t = trimBlanks(t.substr(0, c));
            }
            if (t.empty() || t[0] == ';') continue;
            std::string file;
            if (includeDirective(t, &file)) {
                auto included = depth < kMaxIncludeDepth ? includedLines(file) : std::nullopt;
                if (!included) {
                    report(msg::kCannotOpen, Severity::Error,
                           "The map file " + file + " cannot be opened.");
                    continue;
                }
                if (depth == 0) mapIncludes_.push_back(includeName(file));
                addMapLines(*included, out, depth + 1);
                continue;
            }
            if (t.size() < 8 || !equalsNoCase(std::string_view(t).substr(0, 7), "#define") ||
                (t[7] != ' ' && t[7] != '\t'))
                continue;  // other preprocessor lines (guards) carry no id
            std::string rest = trimBlanks(std::string_view(t).substr(8));
            const std::size_t gap = rest.find_first_of(" \t");
            const std::string id = rest.substr(0, gap);
            const std::string value = gap == std::string::npos
                                          ? std::string()
                                          : trimBlanks(std::string_view(rest).substr(gap));
            if (!validNumber(value)) {
                report(msg::kBadContextId, Severity::Warning,
                       "The map id " + id + " has no number (\"" + value + "\"); it is left out.");
                continue;
            }
            if (!aliasKeys_.count(id)) {
                report(msg::kBadContextId, Severity::Warning,
                       "The map id " + id + " has no alias; it is left out.");
                continue;
            }
            if (!mapIds_.insert(id).second) {
                report(msg::kBadContextId, Severity::Warning,
                       "The map id " + id + " is defined more than once; the first one is used.");
                continue;
            }
            out->push_back("#define " + id + " " + value);
        }
    }

    static bool validNumber(const std::string& v) {
        if (v.empty()) return false;
        std::size_t i = 0;
        bool hex = false;
        if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
            i = 2;
            hex = true;
        }
        if (i >= v.size()) return false;
        for (; i < v.size(); ++i) {
            const char c = v[i];
            const bool digit = c >= '0' && c <= '9';
            const bool hexDigit = hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
            if (!digit && !hexDigit) return false;
        }
        return true;
    }

    void adaptPopups() {
        auto* s = out_.hhp.section("TEXT POPUPS");
        if (!s) return;
        std::vector<std::string> lines;
        for (const auto& line : s->lines) {
            const std::string t = trimBlanks(line);
            if (t.empty() || t[0] == ';') continue;
            std::string file = t;
            if (includeDirective(t, &file)) file = trimBlanks(file);
            const Resolved r = resolve(cleanReference(file));
            if (r.where != Where::Inside) {
                report(msg::kCannotOpen, Severity::Warning,
                       "The text popup file " + file + " cannot be opened; it is left out.");
                continue;
            }
            lines.push_back(r.relative);
        }
        // A popup file names its topics by the map's IDs; the viewer resolves those names from
        // a header stored beside it, so the map's files go into the help as well.
        if (!lines.empty())
            for (const auto& header : mapIncludes_) {
                const Resolved r = resolve(header);
                if (r.where == Where::Inside &&
                    std::find(lines.begin(), lines.end(), r.relative) == lines.end())
                    lines.push_back(r.relative);
            }
        s->lines = std::move(lines);
    }

    // Merged files are found beside the compiled file when the help is shown, by name only.
    void adaptMergeFiles() {
        auto* s = out_.hhp.section("MERGE FILES");
        if (!s) return;
        std::vector<std::string> lines;
        for (const auto& line : s->lines) {
            const std::string t = cleanReference(line);
            if (t.empty() || t[0] == ';') continue;
            lines.push_back(platform::fileNamePart(t));
        }
        s->lines = std::move(lines);
    }

    void adaptFiles() {
        auto* s = out_.hhp.section("FILES");
        std::vector<std::string> lines;
        std::set<std::string> seen;
        if (s) {
            for (const auto& line : s->lines) {
                const std::string t = trimBlanks(line);
                if (t.empty() || t[0] == ';') continue;
                if (t.find_first_of("*?") != std::string::npos) {
                    addMatches(t, &lines, &seen);
                    continue;
                }
                const Resolved r = resolve(cleanReference(t));
                if (r.where != Where::Inside) {
                    report(msg::kCannotCompileFile, Severity::Error,
                           "Compilation failed while compiling " + t +
                               (r.where == Where::Outside
                                    ? ": the file lies outside the project folder."
                                    : ": the file does not exist."));
                    continue;
                }
                if (!seen.insert(lowerAscii(r.relative)).second) {
                    report(msg::kDuplicateFile, Severity::Warning,
                           "The file " + t + " is listed more than once.");
                    continue;
                }
                lines.push_back(r.relative);
                out_.listedFiles.push_back(r.relative);
            }
        }
        // chmcmd resolves an alias only to a file it compiles.
        for (const auto& target : aliasTargets_) {
            if (seen.insert(lowerAscii(target)).second) {
                lines.push_back(target);
                out_.listedFiles.push_back(target);
            }
        }
        if (!s && lines.empty()) return;
        out_.hhp.sectionForWrite("FILES").lines = std::move(lines);
    }

    // A [FILES] line with wildcards in its file name: every file of that folder that
    // matches, in name order, as the Workshop compiler takes them.
    void addMatches(const std::string& line, std::vector<std::string>* lines,
                    std::set<std::string>* seen) {
        const std::string ref = cleanReference(line);
        const std::string folder = platform::folderPart(ref);
        const std::string pattern = lowerAscii(platform::fileNamePart(ref));
        bool any = false;
        if (folder.find_first_of("*?") == std::string::npos) {
            for (const auto& e :
                 platform::listFolder(folder.empty() ? folder_ : folder_ + "/" + folder)) {
                if (e.isFolder || !wildcardMatch(pattern, lowerAscii(e.name))) continue;
                const Resolved r = resolve(folder.empty() ? e.name : folder + "/" + e.name);
                if (r.where != Where::Inside) continue;
                any = true;
                if (!seen->insert(lowerAscii(r.relative)).second) continue;
                lines->push_back(r.relative);
                out_.listedFiles.push_back(r.relative);
            }
        }
        if (!any)
            report(msg::kCannotCompileFile, Severity::Error,
                   "Compilation failed while compiling " + line + ": no file matches.");
    }

    static bool wildcardMatch(std::string_view pattern, std::string_view name) {
        if (pattern.empty()) return name.empty();
        if (pattern[0] == '*')
            return wildcardMatch(pattern.substr(1), name) ||
                   (!name.empty() && wildcardMatch(pattern, name.substr(1)));
        if (name.empty()) return false;
        return (pattern[0] == '?' || pattern[0] == name[0]) &&
               wildcardMatch(pattern.substr(1), name.substr(1));
    }

    AdaptOptions options_;
    std::string folder_;        // core, '/' separators, no trailing '/'
    std::string nativeFolder_;  // native form of folder_
    AdaptedProject out_;
    std::set<std::string> aliasKeys_;
    std::vector<std::string> aliasTargets_;
    std::set<std::string> mapIds_;
    std::vector<std::string> mapIncludes_;  // files the [MAP] section includes, as written
};

}  // namespace

std::string normalizeAbsolute(const std::string& path) {
    const std::string p = platform::slashSeparators(path);
    std::vector<std::string> parts;
    std::size_t start = 0;
    const bool rooted = !p.empty() && p[0] == '/';
    while (start <= p.size()) {
        std::size_t end = p.find('/', start);
        if (end == std::string::npos) end = p.size();
        const std::string part = p.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out = rooted ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "/" : "") + parts[i];
    return out;
}

AdaptedProject adaptProject(const HhpFile& original, const AdaptOptions& options) {
    return Adapter(original, options).run();
}

}  // namespace tarnbook::hhc
