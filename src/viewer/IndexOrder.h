#pragma once
#include <vector>

#include "viewer/HelpLibrary.h"

// The keyword index as a reader looks things up in it: the sitemaps list keywords in the
// order the author's contents tree had them, the index shows them alphabetically.
namespace tarnbook::viewer {

// Sorts the top-level keywords, each keeping its sub-keywords beneath it in their own order.
// Letter case, full and half width, and katakana against hiragana are not told apart; equal
// keywords keep their order, so those of the opened file come before a merged file's.
void sortIndexForDisplay(std::vector<IndexItem>& index);

}  // namespace tarnbook::viewer
