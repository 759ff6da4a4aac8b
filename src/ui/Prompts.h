#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tarnbook::ui {

enum class Answer { Ok, Cancel, Yes, No };

enum class Buttons {
    Ok,
    Yes,  // a single "はい" button
    OkCancel,
    YesCancel,
    YesNo,
    YesNoCancel,
};

// How the core talks to the user. Texts are UTF-8; the shell shows them, tests script them.
class Prompts {
  public:
    virtual ~Prompts() = default;

    // The program's own warning: a beep, then a modal box captioned with the product name.
    virtual Answer warn(const std::string& text, Buttons buttons = Buttons::Ok) = 0;
    // A confirmation (question) box with the given buttons.
    virtual Answer confirm(const std::string& text, Buttons buttons) = 0;
    // The standard error box for a failed file operation or another run-time error.
    virtual void showError(const std::string& text) = 0;

    // File and folder choosers. `filter` uses the "caption|*.ext;*.ext2|caption|*.x" form.
    // Paths come back as core paths (CP932).
    virtual std::optional<std::string> chooseOpenFile(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& initialFolder) = 0;
    virtual std::vector<std::string> chooseOpenFiles(const std::string& title,
                                                     const std::string& filter,
                                                     const std::string& initialFolder) = 0;
    virtual std::optional<std::string> chooseSaveFile(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& initialPath) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                    const std::string& initialFolder) = 0;

    // One line of input; nullopt on cancel.
    virtual std::optional<std::string> inputLine(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& initial) = 0;
};

}  // namespace tarnbook::ui
