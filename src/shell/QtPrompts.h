#pragma once
#include <QWidget>

#include "ui/Prompts.h"

namespace tarnbook::shell {

// Message boxes, choosers and input lines for the core.
class QtPrompts : public ui::Prompts {
  public:
    explicit QtPrompts(QWidget* owner) : owner_(owner) {}

    ui::Answer warn(const std::string& text, ui::Buttons buttons) override;
    ui::Answer confirm(const std::string& text, ui::Buttons buttons) override;
    void showError(const std::string& text) override;
    std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter,
                                              const std::string& initialFolder) override;
    std::vector<std::string> chooseOpenFiles(const std::string& title, const std::string& filter,
                                             const std::string& initialFolder) override;
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& initialPath) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& initialFolder) override;
    std::optional<std::string> inputLine(const std::string& caption, const std::string& prompt,
                                         const std::string& initial) override;

    // "caption|*.a;*.b|caption2|*.c" -> "caption (*.a *.b);;caption2 (*.c)"
    static QString qtFilter(const std::string& filter);

  private:
    ui::Answer ask(const std::string& text, ui::Buttons buttons, bool warning);
    QWidget* owner_;
};

}  // namespace tarnbook::shell
