#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The text-popup file a compiled help carries for context help: ".topic N" opens the text of
// popup N, which runs to the next ".topic" line. Texts stay in the file's bytes (CP932 for
// the program's own help); blank lines at either end of a text are dropped, blank lines
// inside it are kept as paragraph breaks. A ".topic" with a symbolic name instead of a
// number, or a number that repeats, starts a text nobody can ask for (the first one wins).
namespace tarnbook::viewer {

class PopupTexts {
  public:
    static PopupTexts parse(std::string_view bytes);

    std::optional<std::string> text(std::uint32_t id) const;
    std::size_t size() const { return texts_.size(); }
    const std::map<std::uint32_t, std::string>& all() const { return texts_; }

  private:
    std::map<std::uint32_t, std::string> texts_;
};

}  // namespace tarnbook::viewer
