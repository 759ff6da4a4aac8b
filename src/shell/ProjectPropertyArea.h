#pragma once
#include <QObject>

#include "shell/WindowContext.h"

namespace tarnbook::shell {

// The project's own settings: the properties dialog.
class ProjectPropertyArea : public QObject {
    Q_OBJECT
  public:
    explicit ProjectPropertyArea(WindowContext& context);
    void bindCommands();

  private:
    WindowContext& cx_;
};

}  // namespace tarnbook::shell
