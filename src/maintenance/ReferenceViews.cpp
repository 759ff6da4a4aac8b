#include "maintenance/ReferenceViews.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace tarnbook::maintenance {
namespace {

bool inView(ReferenceKind kind, View view) {
    switch (view) {
        case View::Pages:
            return kind == ReferenceKind::Page;
        case View::Files:
            return kind == ReferenceKind::File;
        case View::External:
            return kind == ReferenceKind::External;
        case View::All:
            return true;
        case View::Unused:
            return false;
    }
    return false;
}

}  // namespace

int iconFor(ReferenceKind kind) {
    switch (kind) {
        case ReferenceKind::Page:
            return kIconPage;
        case ReferenceKind::External:
            return kIconExternal;
        case ReferenceKind::File:
            return kIconFile;
    }
    return kIconFile;
}

std::vector<ViewRow> viewRows(const AnalysisResult& result, View view) {
    std::vector<ViewRow> rows;
    if (view == View::Unused) {
        for (const std::string& f : result.unusedFiles) rows.push_back({f, kIconUnused});
    } else {
        for (const DistinctReference& d : result.distinct)
            if (inView(d.kind, view)) rows.push_back({d.caption, iconFor(d.kind)});
    }
    std::vector<std::pair<std::string, ViewRow>> keyed;
    keyed.reserve(rows.size());
    for (ViewRow& r : rows) keyed.emplace_back(platform::lowerCaseSjis(r.caption), std::move(r));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    rows.clear();
    for (auto& [k, r] : keyed) rows.push_back(std::move(r));
    return rows;
}

Counters countersOf(const AnalysisResult& result) {
    Counters c;
    for (const DistinctReference& d : result.distinct) {
        if (d.kind == ReferenceKind::Page) ++c.pages;
        if (d.kind == ReferenceKind::File) ++c.files;
        if (d.kind == ReferenceKind::External) ++c.external;
    }
    c.all = result.distinct.size();
    c.unused = result.unusedFiles.size();
    return c;
}

}  // namespace tarnbook::maintenance
