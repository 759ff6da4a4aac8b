#include "hhc/HhcMessages.h"

#include <cstdio>

#include "platform/Cp932.h"
#include "platform/Files.h"

// chmcmd message                                          -> log line
// -------------------------------------------------------    ---------------------------------
// Warning: Found file F while scanning P, but couldn't       HHC5013: Warning (referenced file
//   find it on disk                                            not found)
// Error: Anchor A undefined; first use P                     HHC5013: Warning (a referenced
//                                                              anchor is missing; chmcmd's check
//                                                              also misfires in sub-folders, and
//                                                              HHC does not check anchors, so it
//                                                              is not an error here)
// Warning: File F does not exist                             HHC5003: Error (file cannot be
//   (the driver drops such [FILES] entries first)             compiled)
// Can't find file F to scan it.                              HHC5013: Warning
// Error: Can't find TOC file F / Can't find index file F     HHC4016: Error (cannot open file)
// Error loading TOC file / Error scanning TOC file (...)     HHC5005: Error (bad contents file)
// Error loading index file / Error scanning index file       HHC5008: Error (index not made)
// This HHP CHM project seems corrupt ... (context "X"        HHC4014: Error (bad context id)
//   not found!)
// Can't find project file F                                  HHC5001: Error (cannot read)
// EFCreateError: ... (unhandled exception)                   HHC5000: Error (cannot write)
// EFOpenError / EReadError / EInOutError: ...                HHC5001: Error (cannot read)
// any other exception line (EName: ...)                       HHC6000: Error (internal error)
// any other "Error: ..."                                     HHC6000: Error
// any other "Warning: ..."                                   HHC2000: Warning (no table entry)
// Note: / Hint: / banner / "Writing CHM" / stack lines       (not reported)
namespace tarnbook::hhc {

namespace {

bool startsWith(std::string_view s, std::string_view p) {
    return s.substr(0, p.size()) == p;
}
bool endsWith(std::string_view s, std::string_view p) {
    return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

std::string trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return std::string(s.substr(b, e - b));
}

HhcMessage make(int number, Severity severity, std::string text) {
    return HhcMessage{number, severity, std::move(text)};
}

// "EFCreateError: text" -> class name "EFCreateError"; empty when the line is not of that form.
std::string exceptionClass(std::string_view line) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string_view::npos || colon < 2 || line[0] != 'E') return {};
    const std::string_view name = line.substr(0, colon);
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return {};
    // Free Pascal exception classes: "E" and a capital, e.g. EFCreateError, EAccessViolation.
    if (name.size() < 2 || !(name[1] >= 'A' && name[1] <= 'Z')) return {};
    return std::string(name);
}

std::optional<HhcMessage> mapWarning(const std::string& body) {
    // "Found file F while scanning P, but couldn't find it on disk"
    if (startsWith(body, "Found file ") && endsWith(body, ", but couldn't find it on disk")) {
        const std::string core = body.substr(
            11, body.size() - 11 - std::string_view(", but couldn't find it on disk").size());
        const std::size_t at = core.rfind(" while scanning ");
        if (at != std::string::npos) {
            return make(msg::kFileNotFound, Severity::Warning,
                        core.substr(at + 16) + " refers to " + core.substr(0, at) +
                            ", which cannot be found.");
        }
        return make(msg::kFileNotFound, Severity::Warning, body);
    }
    if (startsWith(body, "File ") && endsWith(body, " does not exist")) {
        return make(msg::kCannotCompileFile, Severity::Error,
                    "Compilation failed while compiling " + body.substr(5, body.size() - 20) +
                        ": the file does not exist.");
    }
    return make(msg::kUnclassified, Severity::Warning, body);
}

std::optional<HhcMessage> mapError(const std::string& body) {
    if (startsWith(body, "Anchor ")) {
        const std::size_t at = body.find(" undefined; first use ");
        if (at != std::string::npos) {
            return make(msg::kFileNotFound, Severity::Warning,
                        body.substr(at + 22) + " refers to the anchor " + body.substr(7, at - 7) +
                            ", which is not defined.");
        }
    }
    if (startsWith(body, "Can't find TOC file ") || startsWith(body, "Can't find index file "))
        return make(msg::kCannotOpen, Severity::Error, body);
    if (startsWith(body, "Error loading TOC file") || startsWith(body, "Error scanning TOC file"))
        return make(msg::kBadContents, Severity::Error, body);
    if (startsWith(body, "Error loading index file") ||
        startsWith(body, "Error scanning index file"))
        return make(msg::kBadIndex, Severity::Error, body);
    return make(msg::kInternal, Severity::Error, body);
}

}  // namespace

bool anchorIsDefined(const std::string& projectFolder, const std::string& reference) {
    const std::size_t hash = reference.find('#');
    if (hash == std::string::npos || hash + 1 >= reference.size()) return false;
    const auto page = platform::tryReadFile(projectFolder + "/" + reference.substr(0, hash));
    if (!page) return false;
    const std::string text = platform::lowerCaseSjis(*page);
    const std::string anchor = platform::lowerCaseSjis(reference.substr(hash + 1));
    for (const char* attribute : {"name=", "id="}) {
        for (const std::string& quote : {std::string("\""), std::string("'"), std::string()}) {
            const std::string wanted = attribute + quote + anchor + quote;
            for (std::size_t at = text.find(wanted); at != std::string::npos;
                 at = text.find(wanted, at + 1)) {
                // The attribute must start a word, and an unquoted value must end here.
                const bool starts = at > 0 && (text[at - 1] == ' ' || text[at - 1] == '\t' ||
                                               text[at - 1] == '\n' || text[at - 1] == '\r');
                const char after =
                    at + wanted.size() < text.size() ? text[at + wanted.size()] : '>';
                const bool ends = !quote.empty() || after == ' ' || after == '>' || after == '/' ||
                                  after == '\t' || after == '\r' || after == '\n';
                if (starts && ends) return true;
            }
        }
    }
    return false;
}

std::string withoutDefinedAnchors(std::string_view output, const std::string& projectFolder) {
    constexpr std::string_view kHead = "Error: Anchor ";
    constexpr std::string_view kUse = " undefined; first use ";
    std::string kept;
    kept.reserve(output.size());
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string_view::npos) end = output.size();
        std::string_view line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t use = line.find(kUse);
        const bool defined =
            startsWith(line, kHead) && use != std::string_view::npos &&
            anchorIsDefined(projectFolder,
                            std::string(line.substr(kHead.size(), use - kHead.size())));
        if (!defined) {
            kept.append(output.substr(start, end - start));
            kept += '\n';
        }
        start = end + 1;
    }
    return kept;
}

std::string HhcMessage::line() const {
    char head[32];
    std::snprintf(head, sizeof head, "HHC%04d: ", number % 10000);
    return std::string(head) + (severity == Severity::Error ? "Error: " : "Warning: ") + text;
}

std::optional<HhcMessage> mapChmcmdLine(std::string_view raw) {
    const std::string line = trimmed(raw);
    if (line.empty()) return std::nullopt;
    if (startsWith(line, "Note:") || startsWith(line, "Hint:")) return std::nullopt;
    if (startsWith(line, "Warning: ")) return mapWarning(trimmed(line.substr(9)));
    if (startsWith(line, "Error: ")) return mapError(trimmed(line.substr(7)));
    // Scanning and loading problems come in a few forms without a prefix.
    if (startsWith(line, "Error loading ") || startsWith(line, "Error scanning "))
        return mapError(line);
    if (startsWith(line, "Can't find project file "))
        return make(msg::kCannotRead, Severity::Error, line);
    if (startsWith(line, "Can't find file ")) {
        std::string f = line.substr(16);
        if (endsWith(f, " to scan it.")) f.resize(f.size() - 12);
        return make(msg::kFileNotFound, Severity::Warning, f + " cannot be found.");
    }
    if (startsWith(line, "This HHP CHM project seems corrupt")) {
        const std::size_t ctx = line.find("(context \"");
        if (ctx != std::string::npos) {
            const std::size_t end = line.find('"', ctx + 10);
            const std::string id = line.substr(
                ctx + 10, end == std::string::npos ? std::string::npos : end - ctx - 10);
            return make(msg::kBadContextId, Severity::Error,
                        "The context id " + id + " has no alias that the compiler can resolve.");
        }
        return make(msg::kInternal, Severity::Error, line);
    }
    const std::string cls = exceptionClass(line);
    if (!cls.empty()) {
        const std::string text = "The compiler back end failed: " + line;
        if (cls == "EFCreateError" || cls == "EWriteError")
            return make(msg::kCannotWrite, Severity::Error, text);
        if (cls == "EFOpenError" || cls == "EReadError" || cls == "EInOutError")
            return make(msg::kCannotRead, Severity::Error, text);
        return make(msg::kInternal, Severity::Error, text);
    }
    // Banner, "Writing CHM ...", "An unhandled exception occurred at ...", stack addresses,
    // usage text.
    return std::nullopt;
}

std::vector<HhcMessage> mapChmcmdOutput(std::string_view output) {
    std::vector<HhcMessage> out;
    for (const auto& line : platform::splitLines(output)) {
        if (auto m = mapChmcmdLine(line)) out.push_back(std::move(*m));
    }
    return out;
}

}  // namespace tarnbook::hhc
