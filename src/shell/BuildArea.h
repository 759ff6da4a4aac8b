#pragma once
#include <QObject>
#include <chrono>

#include "shell/WindowContext.h"

namespace tarnbook::platform {
class ChildProcess;
}

namespace tarnbook::shell {

// Building the help: compile with its wait window, the log, the compiled help, decompiling.
class BuildArea : public QObject {
    Q_OBJECT
  public:
    explicit BuildArea(WindowContext& context);
    void bindCommands();

  private:
    void compile();
    void decompile();
    bool waitForCompiler(platform::ChildProcess& compiler, std::chrono::seconds limit);
    void disable(const char* id);

    WindowContext& cx_;
};

}  // namespace tarnbook::shell
