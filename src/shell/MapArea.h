#pragma once
#include <QObject>

#include "shell/WindowContext.h"

namespace tarnbook::shell {

// Keywords, context IDs and the project's hand-edited text files: the additional keyword of
// an added resource, the map file, editing the map and popup files, and the index page.
class MapArea : public QObject {
    Q_OBJECT
  public:
    explicit MapArea(WindowContext& context);
    void bindCommands();

  private:
    void editKeyword();

    WindowContext& cx_;
};

}  // namespace tarnbook::shell
