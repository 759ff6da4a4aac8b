#pragma once
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "project/TemplateFields.h"
#include "ui/Prompts.h"

namespace tarnbook::project {

class Workspace;

// The new-project wizard without widgets: two pages, the template list, every field, and
// the creation of the project on "完了(&N)".
class WizardForm {
  public:
    explicit WizardForm(const platform::IniFile& settings);

    // The template list (names of templates 1..TOTAL); empty when DEFAULT is 0.
    const std::vector<std::string>& templateNames() const { return templateNames_; }
    // The list item selected (-1 for none).
    int selectedItem() const { return selectedTemplate_ - 1; }
    // Choosing list item i loads template i + 1; the project name is kept.
    void chooseTemplate(int item);

    std::string projectName;
    TemplateFields fields;

    int page() const { return page_; }
    bool backEnabled() const { return page_ == 2; }
    bool nextEnabled() const { return !projectName.empty(); }
    std::string nextCaption() const { return page_ == 1 ? "次へ(&N)" : "完了(&N)"; }

    enum class Step { Stayed, ShowingPage2, Created };
    // "次へ(&N)"/"完了(&N)". On page 1 asks before reusing an existing project folder; on
    // page 2 creates the project in `ws` (which then holds it as the open project).
    Step next(ui::Prompts& prompts, Workspace& ws);
    void back();

    // The folder the project will be made in ("" when the projects folder is not set).
    std::string projectFolder() const;

  private:
    void loadTemplate(int number);
    void createProject(Workspace& ws) const;

    const platform::IniFile& settings_;
    std::vector<std::string> templateNames_;
    int selectedTemplate_ = 0;
    int page_ = 1;
};

}  // namespace tarnbook::project
