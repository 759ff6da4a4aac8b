#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The Qt-free form behind the decompile dialog: the chosen output folder, the compiled help
// file to unpack, when OK may be pressed and which drops are taken.
namespace tarnbook::compile {

class DecompileForm {
  public:
    explicit DecompileForm(std::string outputFolder) : outputFolder_(std::move(outputFolder)) {}

    const std::string& outputFolder() const { return outputFolder_; }
    const std::string& chmPath() const { return chmPath_; }

    // Typing, the file dialog and a drop all end here.
    void setChmPath(std::string path) { chmPath_ = std::move(path); }

    // The check box that asks for the container's own entries too.
    bool includeInternal = false;

    // OK only while the field names an existing file.
    bool okEnabled() const;

    // A drag is taken only when the first file's extension, in lower case, is ".chm".
    static bool acceptsDrag(const std::vector<std::string>& files);
    // Puts the first dropped file into the field; false (nothing changed) for a refused drop.
    bool drop(const std::vector<std::string>& files);

  private:
    std::string outputFolder_;
    std::string chmPath_;
};

struct DecompileResult;

// What the author is told when a decompile ends (UTF-8): how many files were written where,
// what was left out, every warning (the first `maxWarnings` of them, then how many more),
// and why reading stopped if it did.
std::string decompileSummary(const DecompileResult& result, const std::string& outputFolder,
                             std::size_t maxWarnings = 20);

}  // namespace tarnbook::compile
