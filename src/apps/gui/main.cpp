#include <QApplication>
#include <cstdio>
#include <string>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "shell/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string project;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--home")) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "tarnbook: --home needs a folder\n");
                return 2;
            }
            tarnbook::platform::setAppFolderOverride(args[++i].toStdString());
        } else if (project.empty()) {
            project = tarnbook::platform::corePath(args[i].toStdString());
        }
    }
    tarnbook::shell::MainWindow window;
    window.show();
    if (!project.empty()) window.openProjectFile(project);
    return app.exec();
}
