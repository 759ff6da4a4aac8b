#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "maintenance/Analysis.h"

// The five lists of the maintenance window and their counters.
namespace tarnbook::maintenance {

enum class View { Pages, Files, External, All, Unused };

// Icons of the window's image list.
constexpr int kIconUnused = 1;
constexpr int kIconExternal = 3;
constexpr int kIconFile = 4;
constexpr int kIconPage = 5;

struct ViewRow {
    std::string caption;  // CP932
    int icon = kIconFile;
};

struct Counters {
    std::size_t pages = 0;
    std::size_t files = 0;
    std::size_t external = 0;
    std::size_t all = 0;
    std::size_t unused = 0;
};

int iconFor(ReferenceKind kind);

// The rows of a view, sorted by caption without regard to letter case. The reference views
// list distinct targets; the unused view lists the unused files by full path.
std::vector<ViewRow> viewRows(const AnalysisResult& result, View view);

Counters countersOf(const AnalysisResult& result);

}  // namespace tarnbook::maintenance
