// The author's work in the window: nothing typed, pasted or saved lands in the wrong file,
// a failed save keeps the window, and the tree acts on the node the author sees.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "SampleProject.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
#include "shell/ContentTreeModel.h"
#include "shell/MainWindow.h"
#include "shell/TextEditor.h"
#include "shell/WebPreview.h"
#include "support/Fakes.h"

using namespace tarnbook;

namespace {

// Records, for every message, whether a progress window of the main window still existed.
class WatchingPrompts : public testing::FakePrompts {
  public:
    std::function<bool()> progressShowing;
    std::vector<std::pair<std::string, bool>> warnings;  // text, progress window present
    ui::Answer warn(const std::string& text, ui::Buttons buttons) override {
        warnings.emplace_back(text, progressShowing && progressShowing());
        return FakePrompts::warn(text, buttons);
    }
};

}  // namespace

class AuthorWorkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home, projects;
    std::unique_ptr<WatchingPrompts> prompts;
    std::string xhp;

    std::unique_ptr<shell::MainWindow> startWith(const std::string& project) {
        auto w = std::make_unique<shell::MainWindow>(prompts.get());
        project::StartupOptions o;
        o.env = project::FirstStartEnvironment::detect(home->path().toStdString());
        o.arguments = {project};
        w->startUp(o);
        w->show();
        prompts->progressShowing = [p = w.get()] { return p->findChild<QProgressDialog*>(); };
        // Ctrl+G builds with a compiler that does nothing: only what the build saves matters.
        w->workspace().settings.writeString("SYSTEM", "HHC", "/bin/true");
        return w;
    }
    static void clickNode(shell::MainWindow& w, const project::TreeNode* n) {
        auto* m = static_cast<shell::ContentTreeModel*>(w.treeView().model());
        w.treeView().setCurrentIndex(m->indexOf(n));
    }
    static std::string page(shell::MainWindow& w, int n) {
        return w.workspace().resourceFolder() + "\\page" + std::to_string(n) + ".htm";
    }

  private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        platform::setAppFolderOverride(platform::NativePath(home->path().toStdString()));
        projects = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<WatchingPrompts>();
        xhp = testing::writeSampleProject(projects->path().toStdString(), "sample", 3, 3);
    }

    void pasteAndCutInTheTreeNeverReachPagesOrTheStandardPage() {
        auto w = startWith(xhp);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto& tree = w->workspace().tree;
        const std::string standard = w->workspace().settings.readString("SYSTEM", "DefHTML");
        const std::string standardBefore = platform::readFile(standard);
        const struct {
            const char* name;
            int heading, child;  // child -1: the heading itself, which has no page
            Qt::Key key;
        } cases[] = {
            {"paste on a page", 0, 1, Qt::Key_V},
            {"paste on a heading", 1, -1, Qt::Key_V},
            {"cut on a page", 0, 2, Qt::Key_X},
        };
        QApplication::clipboard()->setText(QStringLiteral("PASTED"));
        for (const auto& c : cases) {
            project::TreeNode* h = tree.topLevel(c.heading);
            clickNode(*w, c.child < 0 ? h : h->child(c.child));
            const std::string file = c.child < 0 ? standard : page(*w, c.heading * 3 + c.child);
            const std::string before = platform::readFile(file);
            w->treeView().setFocus();
            QTest::keyClick(&w->treeView(), c.key, Qt::ControlModifier);
            QVERIFY2(!w->editor().modified(), c.name);
            w->updateActions();
            w->run("GoCompile");
            QVERIFY2(platform::readFile(file) == before, c.name);
        }
        QVERIFY(platform::readFile(standard) == standardBefore);
    }

    void anEditAfterTheLogIsShownIsSavedIntoItsPage() {
        auto w = startWith(xhp);
        project::TreeNode* node = w->workspace().tree.topLevel(0)->child(0);
        clickNode(*w, node);
        const std::string path = page(*w, 0);
        const std::string before = platform::readFile(path);
        platform::writeFileAtomic(w->workspace().compileLogPath(), "banner\r\n");
        w->updateActions();
        w->run("ViewLog");  // the preview now shows COMPILE.HTML
        const std::string logPage = w->preview().lastTarget();
        QVERIFY(logPage.find("COMPILE.HTML") != std::string::npos);
        w->editor().setSelection(0, 0);
        w->editor().replaceSelection("X");
        QVERIFY(w->editor().modified());
        w->run("GoCompile");  // saves the editor before building
        QCOMPARE(platform::readFile(path), "X" + before);
        QVERIFY(platform::readFile(logPage).rfind("X", 0) != 0);
    }

    void aFailedSaveOnCloseKeepsTheWindowAndTheChanges() {
        auto w = startWith(xhp);
        auto& ws = w->workspace();
        const std::string xhc = ws.contentsFile();
        ws.tree.remove(ws.tree.topLevel(2));
        ws.markChanged();
        // A folder where the contents file belongs: the save cannot replace it.
        const std::string kept = platform::readFile(xhc);
        platform::deleteFile(xhc);
        platform::createFolders(xhc);
        prompts->answers = {ui::Answer::Yes};
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QVERIFY(!ws.saved);
        QVERIFY(!prompts->shown.empty() && prompts->shown.back().kind == "error");
        platform::removeEmptyFolder(xhc);
        prompts->answers = {ui::Answer::Yes};
        QVERIFY(w->close());
        QVERIFY(platform::readFile(xhc).size() < kept.size());
    }

    void deleteAfterExpandingInTheViewRemovesTheHighlightedNode() {
        auto w = startWith(xhp);
        auto& tree = w->workspace().tree;
        project::TreeNode* second = tree.topLevel(1);
        auto* m = static_cast<shell::ContentTreeModel*>(w->treeView().model());
        QVERIFY(!second->expanded());
        w->treeView().expand(m->indexOf(second));  // the arrow in the view
        QVERIFY(second->expanded());
        project::TreeNode* target = second->child(1);
        const std::string title = target->data.Title;
        clickNode(*w, target);
        QCOMPARE(w->treeView().currentIndex(), m->indexOf(target));
        w->treeView().setFocus();
        prompts->answers = {ui::Answer::Yes};
        w->updateActions();
        w->run("TbDelItem");
        QCOMPARE(second->childCount(), 2);
        QCOMPARE(tree.count(), std::size_t(11));
        for (project::TreeNode* n = tree.first(); n; n = project::ContentTree::next(n))
            QVERIFY(n->data.Title != title);
    }

    void aTruncatedContentsFileWarnsWithoutAProgressWindowAndTheWindowWorks() {
        const std::string xhc = projects->path().toStdString() + "/sample/sample.XHC";
        platform::writeFileAtomic(xhc, platform::readFile(xhc).substr(0, 5 * 1848));
        auto w = startWith(xhp);
        QVERIFY(w->workspace().hasProject());
        QCOMPARE(w->workspace().tree.count(), std::size_t(5));
        bool warned = false;
        for (const auto& [text, progressPresent] : prompts->warnings)
            if (text.find("件のノードを読み込みました") != std::string::npos) {
                warned = true;
                QVERIFY(!progressPresent);
            }
        QVERIFY(warned);
        QVERIFY(!w->findChild<QProgressDialog*>());
        w->updateActions();
        QVERIFY(w->action("FileSave")->isEnabled());
        w->run("FileSave");
        QCOMPARE(w->statusText(2), QStringLiteral("保存済み"));
    }

    void openingAnotherProjectHeadsTheRecentListAndClearsTheOldPagePath() {
        // Started with a relative path, as from a shell in the projects folder.
        QDir::setCurrent(projects->path());
        auto w = startWith(platform::coreArgumentPath("sample/sample.XHP"));
        QVERIFY(w->workspace().hasProject());
        QVERIFY(platform::isAbsolutePath(w->recentProjects().names()[0]));
        clickNode(*w, w->workspace().tree.topLevel(0)->child(0));
        QVERIFY(w->statusText(0).contains(QStringLiteral("page0.htm")));
        const std::string other =
            testing::writeSampleProject(projects->path().toStdString(), "other", 1, 1);
        prompts->fileAnswers = {other};
        w->run("ProjectOpen");
        QCOMPARE(w->workspace().projectFile(), other);
        QVERIFY(!w->statusText(0).contains(QStringLiteral("sample")));
        const QList<QAction*> entries = w->recentMenu()->actions();
        QCOMPARE(entries.size(), 3);  // the separator and two projects
        QVERIFY(entries[0]->isSeparator());
        QVERIFY(entries[1]->text().contains(QStringLiteral("other.xhp"), Qt::CaseInsensitive));
    }
};

QTEST_MAIN(AuthorWorkTest)
#include "author_work_test.moc"
