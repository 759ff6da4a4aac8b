#pragma once
#include <QObject>
#include <vector>

#include "shell/WindowContext.h"

class QTreeWidget;
class QWidget;

namespace tarnbook::authoring {
struct ResourceRow;
}

namespace tarnbook::shell {

// The resource page: the list of the project's resources and its commands.
class ResourceArea : public QObject {
    Q_OBJECT
  public:
    explicit ResourceArea(WindowContext& context);

    QWidget* page() const { return page_; }
    void bindCommands();
    // After the actions exist: the buttons above the list.
    void addButtons();

  private:
    void fill(const std::vector<authoring::ResourceRow>& rows);

    WindowContext& cx_;
    QWidget* page_ = nullptr;
    QTreeWidget* list_ = nullptr;
};

}  // namespace tarnbook::shell
