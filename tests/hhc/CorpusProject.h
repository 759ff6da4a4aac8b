#pragma once
#include <string>

#include "support/TempDir.h"

// Corpus projects copied into a temporary folder, writable, so that compiling leaves the
// corpus alone.
namespace tarnbook::testing {

// The corpus folder; a test that needs it fails with a clear message when it is missing.
std::string corpusFolder();

// Copies corpus project `name` to <t>/a/b/<name> and returns that folder.
std::string copyCorpusProject(const TempDir& t, const std::string& name);

// The first .hhp file of a folder; "" when there is none.
std::string findHhp(const std::string& folder);

}  // namespace tarnbook::testing
