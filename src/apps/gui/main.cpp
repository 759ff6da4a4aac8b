#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "BuildInfo.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/ProgramArguments.h"
#include "project/Startup.h"
#include "shell/JapaneseQt.h"
#include "shell/MainWindow.h"

int main(int argc, char** argv) {
    namespace platform = tarnbook::platform;
    // A window closed by a signal leaves no compiler or decompiler running.
    platform::endChildrenOnSignals();
    // Options are read before Qt starts, so --help and --version work without a display.
    platform::ProgramArguments parsed;
    try {
        parsed = platform::parseProgramArguments({argv + 1, argv + argc});
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "tarnbook: %s\n", e.what());
        return 2;
    }
    if (parsed.version) {
        std::printf("tarnbook %s\n", tarnbook::buildinfo::kProductVersion);
        return 0;
    }
    if (parsed.help) {
        std::printf(
            "Usage: tarnbook [--home DIR] [PROJECT.XHP]\n"
            "The authoring window for compiled HTML Help projects.\n\n"
            "Options:\n"
            "  --home DIR   use DIR as the app folder (settings, templates, projects)\n"
            "  --version    print the version and exit\n"
            "  -h, --help   show this text\n\n"
            "Exit status: 0 when the window was closed normally, 1 when the app folder cannot\n"
            "hold its lock file, 2 for a usage error.\n");
        return 0;
    }
    QApplication app(argc, argv);
    tarnbook::shell::installJapaneseQt(app);
    // Qt takes its own options (-platform, -style) out of the list; the rest is ours.
    std::vector<std::string> raw;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) raw.push_back(args[i].toStdString());
    parsed = platform::parseProgramArguments(raw);
    if (parsed.home) platform::setAppFolderOverride(*parsed.home);
    std::vector<std::string> arguments;
    for (const std::string& a : parsed.rest) arguments.push_back(platform::coreArgumentPath(a));

    const std::string home = platform::appFolder();
    platform::createFolders(home);
    // A second start while the program runs ends silently; an app folder that cannot hold
    // the lock is an error the user must see.
    std::unique_ptr<platform::SingleInstance> instance;
    try {
        instance = tarnbook::project::claimSingleInstance(home);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnbook: %s\n", e.what());
        QMessageBox::critical(nullptr, QStringLiteral("Tarnbook"), QString::fromUtf8(e.what()));
        return 1;
    }
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
