#pragma once
#include <QObject>
#include <optional>
#include <string>

#include "shell/WindowContext.h"

namespace tarnbook::project {
class TreeNode;
}

namespace tarnbook::shell {

// Bringing material in: the folder import with its progress window (it can be cancelled),
// the per-file import that tree drops use, and the two filter dialogs.
class ImportArea : public QObject {
    Q_OBJECT
  public:
    explicit ImportArea(WindowContext& context);
    void bindCommands();

    // The title-source question of a drop or a folder import; nullopt when cancelled.
    std::optional<int> askTitleSource();
    // Imports one dropped file under `parent` (null: top level).
    void importDroppedFile(const std::string& path, project::TreeNode* parent, int titleSource);

  private:
    void importFolder();
    void editImportFilter();
    void editUrlFilter();
    void saveSettings();

    WindowContext& cx_;
};

}  // namespace tarnbook::shell
