// Takes the README's picture of the main window: opens a project, shows a page and saves
// the screen area of the window once the preview has drawn.
//   shell_screenshot OUT.png PROJECT.XHP HOME
#include <QApplication>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <cstdio>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
#include "shell/ContentTreeModel.h"
#include "shell/MainWindow.h"
#include "shell/TextEditor.h"
#include "shell/WebPreview.h"

using namespace tarnbook;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: shell_screenshot OUT.png PROJECT.XHP HOME\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    platform::setAppFolderOverride(platform::NativePath(argv[3]));
    shell::MainWindow w;
    project::StartupOptions options;
    options.env = project::FirstStartEnvironment::detect(argv[3]);
    options.arguments = {platform::coreArgumentPath(argv[2])};
    if (!w.startUp(options).projectOpened) return 1;
    // A first start's placement is small; the picture wants room for the page.
    w.move(0, 0);
    w.resize(1000, 660);
    w.show();
    static_cast<QSplitter*>(w.centralWidget())->setSizes({250, 750});
    w.run("NodeExpand");
    auto& tree = w.workspace().tree;
    project::TreeNode* shown = tree.topLevel(0);
    for (project::TreeNode* n : tree.preorder())
        if (!n->data.HTML.empty() && n->parent()) {
            shown = n;
            break;
        }
    auto* model = static_cast<shell::ContentTreeModel*>(w.treeView().model());
    w.treeView().setCurrentIndex(model->indexOf(shown));
    w.treeView().setFocus();
    QTimer::singleShot(4000, &app, [&] {
        const QPixmap shot = w.screen()->grabWindow(w.winId());
        app.exit(shot.save(out) ? 0 : 1);
    });
    return app.exec();
}
