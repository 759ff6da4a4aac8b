#pragma once
#include <QObject>
#include <vector>

#include "shell/WindowContext.h"

class QMenu;
class QMimeData;
class QTreeWidget;
class QWidget;

namespace tarnbook::authoring {
struct ResourceRow;
}

namespace tarnbook::shell {

// The resource page: the list of the project's resources, its commands, its context menu
// and the files dropped on it.
class ResourceArea : public QObject {
    Q_OBJECT
  public:
    explicit ResourceArea(WindowContext& context);

    QWidget* page() const { return page_; }
    QTreeWidget& list() const { return *list_; }
    void bindCommands();
    // After the actions exist: the buttons above the list and its context menu.
    void addButtons();
    QMenu* contextMenu() const { return menu_; }

    // The rows shown, each with its selection in the list.
    std::vector<authoring::ResourceRow> rows() const;
    // Only the selected rows, in list order (what the enable rules look at when idle).
    std::vector<authoring::ResourceRow> selectedRows() const;
    // Adds the dropped files as the user's drop would.
    void dropFiles(const QMimeData& data);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fill(const std::vector<authoring::ResourceRow>& rows);
    void setColumnWidths();

    WindowContext& cx_;
    QWidget* page_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QMenu* menu_ = nullptr;
    std::vector<authoring::ResourceRow> rows_;
};

}  // namespace tarnbook::shell
