#pragma once
#include <string>

namespace tarnbook::project {

// The "新プロジェクト名" dialog of save-as, without widgets: the name, the folder it gives,
// and whether OK may be pressed (only when no folder of that path exists).
class NewProjectNameForm {
  public:
    explicit NewProjectNameForm(std::string projectsFolder)
        : projectsFolder_(std::move(projectsFolder)) {}

    // Characters the name field ignores when typed: \ / : , ; * ? " < > |
    static bool isRefusedKey(char c);

    // The name changed: recompute the folder and the OK state.
    void setName(const std::string& name);
    const std::string& name() const { return name_; }
    // The folder that OK will create; empty while OK is disabled.
    const std::string& folderShown() const { return folderShown_; }
    bool okEnabled() const { return okEnabled_; }

  private:
    std::string projectsFolder_;
    std::string name_;
    std::string folderShown_;
    bool okEnabled_ = false;
};

}  // namespace tarnbook::project
