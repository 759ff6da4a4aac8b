#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sitemap/HtmlEntities.h"

// Brings values read from a foreign Workshop file into the program's Shift_JIS (CP932) and
// keeps count of what Shift_JIS cannot hold, so the author is told instead of finding "?"s.
namespace tarnbook::workshopimport {

class SjisFit {
  public:
    static constexpr std::size_t kExamples = 5;

    // `value` in the given form as CP932. Shift_JIS values pass unchanged. A character CP932
    // has no code for becomes a numeric character reference ("&#35268;"), which the compiled
    // help shows as the character again; it is counted.
    std::string toCp932(std::string_view value, sitemap::TextForm form);

    std::size_t lostCount() const { return lostCount_; }
    // The first few, each "<character> (<the value it was in>)", UTF-8.
    const std::vector<std::string>& examples() const { return examples_; }

  private:
    std::size_t lostCount_ = 0;
    std::vector<std::string> examples_;
};

}  // namespace tarnbook::workshopimport
