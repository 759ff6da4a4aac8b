#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Prompts.h"
#include "viewer/PopupTexts.h"

namespace tarnbook::shell {

// The program's own help: knows the help file and opens its topics in the viewer, which runs
// as a separate process. Without a help file every help entry point stays disabled.
class HelpService {
  public:
    // Starts `program` with `arguments` without waiting (core paths); false when it could not
    // be started. Tests give a fake.
    using Launcher =
        std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;

    // The default launcher starts the viewer found by project::findHelpViewer.
    explicit HelpService(ui::Prompts& prompts, Launcher launcher = {});

    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }
    void setHelpFile(std::string corePath);  // "" when the program has no help file
    const std::string& helpFile() const { return helpFile_; }
    bool available() const { return !helpFile_.empty(); }

    // What the dialogs take as their help function: opens a topic number, or empty when there
    // is no help file (their help buttons are then disabled).
    std::function<void(int topic)> topicOpener();

    void showTopic(int topic);  // a dialog's help button, F1
    void showContents();        // "ヘルプ(&C)"
    void showIndex();           // "キーワード検索(&K)"

    // The text (UTF-8) of a context popup of the help file's popup entry; nullopt without a
    // help file or such a popup. The entry is read in place once, on first use.
    std::optional<std::string> popupText(std::uint32_t id);

  private:
    void open(std::vector<std::string> arguments);

    ui::Prompts& prompts_;
    Launcher launcher_;
    std::string helpFile_;
    std::optional<viewer::PopupTexts> popups_;  // read from helpFile_ on first use
};

}  // namespace tarnbook::shell
