#include "project/TemplateEditorForm.h"

#include "platform/Cp932.h"

namespace tarnbook::project {
namespace {

bool isTemplateSection(const std::string& name) {
    return platform::upperCaseSjis(name).rfind("TEMPLATE", 0) == 0;
}

void copySection(const platform::IniFile& from, const std::string& fromName, platform::IniFile& to,
                 const std::string& toName) {
    for (const auto& key : from.keyNames(fromName))
        to.writeString(toName, key, from.readString(fromName, key));
}

}  // namespace

TemplateEditorForm::TemplateEditorForm(platform::IniFile& settings)
    : settings_(settings), lastSaved_(settings) {
    shown_ = settings.readInteger("TEMPLATE", "DEFAULT", 0);
    count_ = settings.readInteger("TEMPLATE", "TOTAL", 1);
    if (shown_ != 0) rebuildNames();
    load(shown_);
    modified_ = false;
}

void TemplateEditorForm::rebuildNames() {
    names_.clear();
    for (int n = 1; n <= count_; ++n)
        names_.push_back(settings_.readString(section(n), "Name", " "));
}

void TemplateEditorForm::load(int number) {
    fields = TemplateFields::load(settings_, section(number));
    defaultChecked_ = settings_.readInteger("TEMPLATE", "DEFAULT", 1) == number;
}

void TemplateEditorForm::choose(int item) {
    if (item < 0 || item >= count_) return;
    save();
    shown_ = item + 1;
    load(shown_);
}

void TemplateEditorForm::save() {
    if (shown_ != 0) {
        fields.save(settings_, section(shown_));
        rebuildNames();
    }
    if (!settings_.path().empty()) settings_.save();
    lastSaved_ = settings_;
    modified_ = false;
}

void TemplateEditorForm::newStyle(const std::optional<std::string>& name) {
    if (name) {
        save();
        ++count_;
        shown_ = count_;
        fields.name = name->empty() ? "NoName" : *name;
        settings_.writeInteger("TEMPLATE", "TOTAL", count_);
        settings_.writeString(section(shown_), "Name", fields.name);
        defaultChecked_ = settings_.readInteger("TEMPLATE", "DEFAULT", 1) == shown_;
    }
    modified_ = true;
    rebuildNames();
}

void TemplateEditorForm::deleteShown() {
    if (!deleteEnabled()) return;
    const int gone = shown_;
    settings_.eraseSection(section(gone));
    for (int n = gone + 1; n <= count_; ++n) {
        copySection(settings_, section(n), settings_, section(n - 1));
        settings_.eraseSection(section(n));
    }
    --count_;
    settings_.writeInteger("TEMPLATE", "TOTAL", count_);
    const int def = settings_.readInteger("TEMPLATE", "DEFAULT", 0);
    if (def > gone)
        settings_.writeInteger("TEMPLATE", "DEFAULT", def - 1);
    else if (def == gone)
        settings_.writeInteger("TEMPLATE", "DEFAULT", gone <= count_ ? gone : count_);
    shown_ = gone <= count_ ? gone : count_;
    rebuildNames();
    load(shown_);
    modified_ = true;
}

void TemplateEditorForm::makeDefault() {
    defaultChecked_ = true;
    if (shown_ != 0 && settings_.readInteger("TEMPLATE", "DEFAULT", 0) != shown_)
        settings_.writeInteger("TEMPLATE", "DEFAULT", shown_);
    modified_ = true;
}

bool TemplateEditorForm::close(ui::Prompts& prompts) {
    if (!modified_) return true;
    switch (prompts.confirm("変更されています。保存しますか?", ui::Buttons::YesNoCancel)) {
        case ui::Answer::Yes:
            save();
            return true;
        case ui::Answer::Cancel:
            return false;
        default:
            break;
    }
    // Discard: every template section and TOTAL/DEFAULT as they were at the last save (or
    // when the editor opened); what was saved stays saved.
    for (const auto& name : settings_.sectionNames())
        if (isTemplateSection(name)) settings_.eraseSection(name);
    for (const auto& name : lastSaved_.sectionNames())
        if (isTemplateSection(name)) copySection(lastSaved_, name, settings_, name);
    if (!settings_.path().empty()) settings_.save();
    modified_ = false;
    return true;
}

}  // namespace tarnbook::project
