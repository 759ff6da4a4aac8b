#include <QApplication>
#include <cstdio>
#include <string>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/Startup.h"
#include "shell/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::string> arguments;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--home")) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "tarnbook: --home needs a folder\n");
                return 2;
            }
            tarnbook::platform::setAppFolderOverride(args[++i].toStdString());
        } else {
            arguments.push_back(tarnbook::platform::corePath(args[i].toStdString()));
        }
    }
    const std::string home = tarnbook::platform::appFolder();
    tarnbook::platform::createFolders(home);
    // A second start while the program runs ends silently.
    auto instance = tarnbook::project::claimSingleInstance(home);
    if (!instance) return 0;

    tarnbook::shell::MainWindow window;
    tarnbook::project::StartupOptions options;
    options.env = tarnbook::project::FirstStartEnvironment::detect(home);
    options.arguments = arguments;
    const auto state = window.startUp(options);
    if (state.placement.maximized)
        window.showMaximized();
    else
        window.show();
    return app.exec();
}
