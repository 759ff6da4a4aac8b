// tarnbook-view [--context N] FILE.chm [TOPIC]: shows a compiled help file in a window of
// its own. The authoring program starts it as a separate process, so that a hostile file can
// never take the authoring window down. Exit status 2 for usage errors and files that cannot
// be shown.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "BuildInfo.h"
#include "platform/Files.h"
#include "platform/ProgramArguments.h"
#include "shell/ChmSchemeHandler.h"
#include "shell/QtText.h"
#include "shell/ViewerWindow.h"
#include "viewer/HelpLibrary.h"
#include "viewer/ViewerArguments.h"

namespace {

constexpr char kUsage[] = "Usage: tarnbook-view [--context N | --index] FILE.chm [TOPIC]\n";

// Tells the reader why nothing is shown: on standard error, and in a message box when the
// viewer was started from the desktop (no terminal to read it on).
int refuse(const std::string& message) {
    std::fprintf(stderr, "tarnbook-view: %s\n", message.c_str());
    if (QGuiApplication::platformName() != QLatin1String("offscreen") && !isatty(2))
        QMessageBox::critical(nullptr, QStringLiteral("Tarnbook"),
                              tarnbook::shell::fromUtf8(message));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    namespace viewer = tarnbook::viewer;
    viewer::ViewerArguments args;
    try {
        args = viewer::parseViewerArguments({argv + 1, argv + argc});
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "tarnbook-view: %s\n%s", e.what(), kUsage);
        return 2;
    }
    if (args.version) {
        std::printf("tarnbook-view %s\n", tarnbook::buildinfo::kProductVersion);
        return 0;
    }
    if (args.help) {
        std::printf(
            "%s"
            "Shows a compiled HTML Help file: contents, keyword index, full-text search.\n\n"
            "Options:\n"
            "  --context N   show the page the help maps to context number N\n"
            "  --index       open on the keyword index\n"
            "  --version     print the version and exit\n"
            "  -h, --help    show this text\n\n"
            "TOPIC is a page inside the file (e.g. html/intro.htm); without it and without\n"
            "--context the help's default page is shown.\n\n"
            "Exit status: 0 when the window was closed, 2 for a usage error or a file that\n"
            "cannot be shown.\n",
            kUsage);
        return 0;
    }
    const std::string path = tarnbook::platform::coreArgumentPath(args.file);
    if (!tarnbook::platform::fileExists(path)) {
        std::fprintf(stderr, "tarnbook-view: ファイル %s がありません。\n", args.file.c_str());
        return 2;
    }
    tarnbook::shell::registerChmSchemes();
    QApplication app(argc, argv);

    QProgressDialog progress(QStringLiteral("ヘルプを読み込んでいます..."), QString(), 0, 100);
    progress.setWindowTitle(QStringLiteral("Tarnbook"));
    progress.setMinimumDuration(500);
    std::string error;
    auto library =
        viewer::HelpLibrary::open(path, &error, [&progress](std::size_t done, std::size_t total) {
            progress.setValue(total ? static_cast<int>(done * 100 / total) : 100);
        });
    progress.reset();
    if (!library)
        return refuse("コンパイル済みヘルプ " + args.file + " を開けません。(" + error + ")");

    std::optional<viewer::HelpTarget> start;
    if (args.context) {
        start = library->contextPage(*args.context);
        if (!start)
            return refuse("コンテキスト番号 " + std::to_string(*args.context) + " のページが " +
                          args.file + " にありません。");
    } else if (!args.topic.empty()) {
        start = library->resolve(args.topic, {});
        if (!start || !library->exists(*start))
            return refuse("ページ " + args.topic + " が " + args.file + " にありません。");
    } else {
        start = library->defaultPage();
    }

    tarnbook::shell::ViewerWindow window(std::move(library));
    window.show();
    if (start) window.showTarget(*start);
    if (args.index) window.showIndexTab();
    return app.exec();
}
