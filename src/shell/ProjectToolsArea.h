#pragma once
#include <QObject>

#include "shell/WindowContext.h"

namespace tarnbook::shell {

// The project's import, export and maintenance tools: Workshop projects, WinHelp projects,
// the web export and the maintenance window.
class ProjectToolsArea : public QObject {
    Q_OBJECT
  public:
    explicit ProjectToolsArea(WindowContext& context);
    void bindCommands();

  private:
    void importWorkshopProject();
    void convertWinHelpProject();
    void exportWeb();
    void maintain();
    // Pages are read from disk: the editor's unsaved text goes there first.
    void saveEditorPage();

    WindowContext& cx_;
};

}  // namespace tarnbook::shell
