#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "project/TemplateFields.h"
#include "ui/Prompts.h"

namespace tarnbook::project {

// The project-template editor without widgets. Templates are the sections TEMPLATE1..TOTAL
// of the settings; the editor keeps TOTAL equal to the number of those sections.
class TemplateEditorForm {
  public:
    // `settings` is changed in place; its file is written on save.
    explicit TemplateEditorForm(platform::IniFile& settings);

    const std::vector<std::string>& templateNames() const { return names_; }
    int shown() const { return shown_; }  // 0: none
    int count() const { return count_; }
    bool modified() const { return modified_; }
    bool defaultChecked() const { return defaultChecked_; }
    bool deleteEnabled() const { return count_ > 1 && shown_ != 0; }

    TemplateFields fields;
    // Every field change in the dialog marks the editor modified.
    void fieldChanged() { modified_ = true; }

    // Choosing another template saves the shown one first.
    void choose(int item);
    void save();
    // "新規スタイル": `name` is the dialog's text, nullopt when it was cancelled.
    void newStyle(const std::optional<std::string>& name);
    // "削除": removes the shown template and renumbers the later ones.
    void deleteShown();
    // "デフォルトに指定" checked.
    void makeDefault();
    // Closing: true when the window may close. Asks when there are unsaved changes; "いいえ"
    // puts the templates back as they were at the last save.
    bool close(ui::Prompts& prompts);

  private:
    void load(int number);
    void rebuildNames();
    static std::string section(int n) { return "TEMPLATE" + std::to_string(n); }

    platform::IniFile& settings_;
    platform::IniFile lastSaved_;
    std::vector<std::string> names_;
    int shown_ = 0;
    int count_ = 1;
    bool modified_ = false;
    bool defaultChecked_ = false;
};

}  // namespace tarnbook::project
