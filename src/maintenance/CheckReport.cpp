#include "maintenance/CheckReport.h"

#include <map>
#include <utility>
#include <vector>

#include "maintenance/ReferenceViews.h"
#include "platform/Cp932.h"
#include "project/ProjectJson.h"

namespace tarnbook::maintenance {
namespace {

std::string utf8(const std::string& cp932) {
    return platform::cp932ToUtf8(cp932);
}

const char* originName(Origin o) {
    switch (o) {
        case Origin::ContentsNode:
            return "node";
        case Origin::Page:
            return "page";
        case Origin::ProjectSetting:
            return "setting";
        case Origin::AddedResource:
            return "added";
    }
    return "page";
}

const char* reasonOf(const Reference& r) {
    return r.target.outside ? "outside the resource folder" : "missing";
}

// The references worth reporting, grouped by where they stand, in the order first met.
struct Source {
    Origin origin;
    std::string name;
    std::vector<const Reference*> broken;
    std::vector<const Reference*> external;
};

std::vector<Source> sourcesOf(const AnalysisResult& result) {
    std::vector<Source> sources;
    std::map<std::pair<Origin, std::string>, std::size_t> index;
    for (const Reference& r : result.references) {
        const bool external = !r.target.ignored && r.target.kind == ReferenceKind::External;
        if (!r.broken() && !external) continue;
        auto [it, added] = index.try_emplace({r.origin, r.from}, sources.size());
        if (added) sources.push_back({r.origin, r.from, {}, {}});
        Source& s = sources[it->second];
        (external ? s.external : s.broken).push_back(&r);
    }
    return sources;
}

std::string where(const Source& s, const Reference& r) {
    switch (s.origin) {
        case Origin::ContentsNode:
            return "contents node \"" + utf8(s.name) + "\"";
        case Origin::ProjectSetting:
            return "project setting " + utf8(s.name);
        case Origin::AddedResource:
            return "added resource";
        case Origin::Page:
            return utf8(s.name) + ":" + std::to_string(r.line);
    }
    return {};
}

}  // namespace

std::string checkReportText(const AnalysisResult& result) {
    const Counters c = countersOf(result);
    std::size_t broken = 0;
    std::string brokenText;
    std::string externalText;
    for (const Source& s : sourcesOf(result)) {
        for (const Reference* r : s.broken) {
            ++broken;
            brokenText += "  " + where(s, *r) + ": " + utf8(r->value) + " (" + reasonOf(*r) + ": " +
                          utf8(r->target.path) + ")\n";
        }
        for (const Reference* r : s.external)
            externalText += "  " + where(s, *r) + ": " + utf8(r->value) + "\n";
    }
    std::string out =
        "Pages and style sheets scanned: " + std::to_string(result.scannedPages.size()) + "\n";
    out += "Broken references: " + std::to_string(broken) + "\n" + brokenText;
    out += "External links: " + std::to_string(c.external) + " distinct\n" + externalText;
    out += "Unused files: " + std::to_string(c.unused) + "\n";
    for (const std::string& f : result.unusedRelative) out += "  " + utf8(f) + "\n";
    if (result.nestedResourceFolder)
        out += "  (none listed: the resource folder holds another _RESOURCE folder)\n";
    out += "Referenced: " + std::to_string(c.pages) + " pages, " + std::to_string(c.files) +
           " other files, " + std::to_string(c.external) + " external links, " +
           std::to_string(c.all) + " in all\n";
    return out;
}

std::string checkReportJson(const AnalysisResult& result) {
    using project::jsonString;
    const Counters c = countersOf(result);
    std::string out = "{\n  \"ok\": " + std::string(result.hasBroken() ? "false" : "true");
    out += ",\n  \"pagesScanned\": " + std::to_string(result.scannedPages.size());
    out += ",\n  \"sources\": [";
    bool firstSource = true;
    for (const Source& s : sourcesOf(result)) {
        out += firstSource ? "\n" : ",\n";
        firstSource = false;
        out += "    {\"kind\": " + jsonString(originName(s.origin)) +
               ", \"name\": " + jsonString(utf8(s.name)) + ", \"broken\": [";
        for (std::size_t i = 0; i < s.broken.size(); ++i) {
            const Reference& r = *s.broken[i];
            out += std::string(i ? ", " : "") + "{\"line\": " + std::to_string(r.line) +
                   ", \"value\": " + jsonString(utf8(r.value)) +
                   ", \"path\": " + jsonString(utf8(r.target.path)) +
                   ", \"reason\": " + jsonString(reasonOf(r)) + "}";
        }
        out += "], \"external\": [";
        for (std::size_t i = 0; i < s.external.size(); ++i) {
            const Reference& r = *s.external[i];
            out += std::string(i ? ", " : "") + "{\"line\": " + std::to_string(r.line) +
                   ", \"url\": " + jsonString(utf8(r.value)) + "}";
        }
        out += "]}";
    }
    out += firstSource ? "]" : "\n  ]";
    out += ",\n  \"unused\": [";
    for (std::size_t i = 0; i < result.unusedRelative.size(); ++i)
        out += std::string(i ? ", " : "") + jsonString(utf8(result.unusedRelative[i]));
    out += "],\n  \"nestedResourceFolder\": " +
           std::string(result.nestedResourceFolder ? "true" : "false");
    out += ",\n  \"counts\": {\"pages\": " + std::to_string(c.pages) +
           ", \"files\": " + std::to_string(c.files) +
           ", \"external\": " + std::to_string(c.external) + ", \"all\": " + std::to_string(c.all) +
           ", \"unused\": " + std::to_string(c.unused) + "}\n}\n";
    return out;
}

}  // namespace tarnbook::maintenance
