#pragma once
#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/WindowContext.h"

namespace tarnbook::shell {

class ContentTreeView;

// Files dragged from the desktop onto the contents tree: copy drops of local files only, the
// row under the pointer highlighted meanwhile. A dropped project file opens; other files are
// imported one by one under the row they were dropped on.
class TreeDropTarget : public QObject {
    Q_OBJECT
  public:
    // `dropped` runs after each drop (the tree's view catches up with the core).
    TreeDropTarget(WindowContext& context, ContentTreeView& view, std::function<void()> dropped);

    // Set by the window: the drop's title-source question (nullopt: cancelled) and the
    // import of one dropped file under a node (null: the top level).
    std::function<std::optional<int>()> askTitleSource;
    std::function<void(const std::string& path, project::TreeNode* parent, int titleSource)>
        importFile;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void dropFiles(const std::vector<std::string>& files);

    WindowContext& cx_;
    ContentTreeView& view_;
    std::function<void()> dropped_;
    QPoint dropPoint_;  // viewport position of the drop being imported
};

}  // namespace tarnbook::shell
