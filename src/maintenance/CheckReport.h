#pragma once
#include <string>

#include "maintenance/Analysis.h"

// The analysis as `tarnbook-cli check` prints it (UTF-8): grouped by where each reference
// stands (a page, a contents node, an added resource), broken references and external links,
// then the unused files and the counts.
namespace tarnbook::maintenance {

std::string checkReportText(const AnalysisResult& result);
std::string checkReportJson(const AnalysisResult& result);

}  // namespace tarnbook::maintenance
