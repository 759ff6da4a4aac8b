#pragma once
#include <functional>
#include <string>
#include <vector>

#include "winhelp/HpjConversion.h"

// The Qt-free form behind the dialog "Win32ヘルププロジェクトコンバート": four numbered steps,
// each with a field, a marker of the step running, and the result line. Texts are UTF-8.
namespace tarnbook::winhelp {

class HpjConvertForm {
  public:
    explicit HpjConvertForm(ProjectTarget target) : target_(target) {}

    // Step 1 marked; the four step fields emptied (the result stays); OK disabled.
    void reset();

    // Runs the four steps on a chosen project file. `onStep` is called whenever a field or
    // the marker changed, so that the window can show it while the work goes on.
    void convert(const std::string& hpjPath, const ConversionProgress& progress = {});

    int step() const { return step_; }
    const std::string& hpjField() const { return hpj_; }
    const std::string& checkField() const { return check_; }
    const std::string& convertField() const { return convert_; }
    const std::string& endField() const { return end_; }
    const std::string& result() const { return result_; }
    const std::vector<std::string>& warnings() const { return warnings_; }
    bool okEnabled() const { return okEnabled_; }
    // The contents tree received nodes: the caller marks the project changed.
    bool treeChanged() const { return treeChanged_; }

    // The project file chosen last, kept for the program's lifetime.
    static std::string& lastPath();

    std::function<void()> onStep;

  private:
    void changed() {
        if (onStep) onStep();
    }
    void fail(const std::string& text);

    ProjectTarget target_;
    int step_ = 1;
    std::string hpj_, check_, convert_, end_, result_;
    std::vector<std::string> warnings_;
    bool okEnabled_ = false;
    bool treeChanged_ = false;
};

}  // namespace tarnbook::winhelp
