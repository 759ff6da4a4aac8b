#pragma once
#include <QWidget>
#include <functional>
#include <optional>
#include <string_view>

#include "authoring/tags/TagCommandList.h"
#include "authoring/tags/TagInsertion.h"
#include "project/Workspace.h"

// The tag commands of the editor page: each shows its dialog and inserts the markup into the
// workspace's editor.
namespace tarnbook::shell {

class TagCommands {
  public:
    // `help` opens a topic of the program's help file; without it the help buttons are off.
    TagCommands(QWidget* parent, project::Workspace& ws, std::function<void(int topic)> help = {});

    // Whether `id` names a tag command run here.
    static bool handles(std::string_view id);

    // Shows the command's dialog. On OK the files it names are brought into the project, the
    // markup goes into the editor and the page is re-coloured. True when markup was inserted
    // (not on Cancel, nor for a head-end insertion into a page without a head end). A failed
    // copy throws platform::IoError before anything is inserted.
    bool run(std::string_view id);

  private:
    std::optional<authoring::TagInsert> ask(const authoring::TagCommandSpec& entry);

    QWidget* parent_;
    project::Workspace& ws_;
    std::function<void(int)> help_;
};

}  // namespace tarnbook::shell
