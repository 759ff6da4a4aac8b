#include "shell/ProjectPropertyArea.h"

#include <QMainWindow>

#include "shell/HelpService.h"
#include "shell/ProjectPropertyDialog.h"

namespace tarnbook::shell {

ProjectPropertyArea::ProjectPropertyArea(WindowContext& context)
    : QObject(&context.window), cx_(context) {}

void ProjectPropertyArea::bindCommands() {
    cx_.commands.bind("ProjectProperty", [this] {
        runProjectProperty(&cx_.window, cx_.ws, cx_.runDialog, cx_.help.topicOpener());
    });
}

}  // namespace tarnbook::shell
