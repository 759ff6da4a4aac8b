#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrl>
#include <QtTest>
#include <algorithm>

#include "SampleProject.h"
#include "platform/Files.h"
#include "shell/ContentTreeModel.h"
#include "shell/EditorArea.h"
#include "shell/HelpService.h"
#include "shell/ImportDialogs.h"
#include "shell/MainWindow.h"
#include "shell/TextEditor.h"
#include "shell/TreeArea.h"
#include "shell/TreeContextMenu.h"
#include "shell/WebPreview.h"
#include "support/Fakes.h"

using namespace tarnbook;
using project::TreeNode;

// The contents tree and the editor page driven as the author drives them: real mouse presses,
// keys and drops on the widgets, checked against the core's state and what the window shows.
class TreeInteractionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<testing::FakePrompts> prompts;
    std::string xhp;

    std::unique_ptr<shell::MainWindow> openSample() {
        auto w = std::make_unique<shell::MainWindow>(prompts.get());
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()) || !w->openProjectFile(xhp)) return nullptr;
        // The first chapter open, the others closed.
        w->workspace().tree.setExpanded(w->workspace().tree.topLevel(0), true);
        return w;
    }
    static QModelIndex indexOf(shell::MainWindow& w, const TreeNode* n) {
        return static_cast<shell::ContentTreeModel*>(w.treeView().model())->indexOf(n);
    }
    static QPoint centreOf(shell::MainWindow& w, const TreeNode* n) {
        return w.treeView().visualRect(indexOf(w, n)).center();
    }
    static void click(shell::MainWindow& w, const TreeNode* n,
                      Qt::KeyboardModifiers mods = Qt::NoModifier,
                      Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(w.treeView().viewport(), button, mods, centreOf(w, n));
    }
    static QPoint emptySpace(shell::MainWindow& w) {
        return QPoint(5, w.treeView().viewport()->height() - 5);
    }
    static QString shownCaption(shell::MainWindow& w, const TreeNode* n) {
        return w.treeView().model()->data(indexOf(w, n), Qt::DisplayRole).toString();
    }
    static int viewSelectionCount(shell::MainWindow& w) {
        return static_cast<int>(w.treeView().selectionModel()->selectedIndexes().size());
    }
    static QString page(shell::MainWindow& w, int n) {
        return QString::fromStdString(platform::nativePath(w.workspace().resourceFolder() +
                                                           "/page" + std::to_string(n) + ".htm")
                                          .str());
    }
    static QString shownPage(shell::MainWindow& w) {
        return QString::fromStdString(platform::nativePath(w.preview().lastTarget()).str());
    }
    static void drop(shell::MainWindow& w, const QStringList& files, QPoint at) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& f : files) urls << QUrl::fromLocalFile(f);
        mime.setUrls(urls);
        // The drop goes where the drag was accepted on entering.
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.treeView().viewport(), &enter);
        QVERIFY(enter.isAccepted());
        auto& view = static_cast<shell::ContentTreeView&>(w.treeView());
        QCOMPARE(view.dropTarget(), view.indexAt(at));  // drawn highlighted
        QDropEvent e(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.treeView().viewport(), &e);
        QVERIFY(e.isAccepted());
        QVERIFY(!view.dropTarget().isValid());
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<testing::FakePrompts>();
        xhp = testing::writeSampleProject(dir->path().toStdString(), "sample", 3, 3);
    }

    void rightClickOpensTheTreeMenuWithoutLoadingThePage() {
        auto w = openSample();
        QVERIFY(w);
        auto& ws = w->workspace();
        TreeNode* chapter = ws.tree.topLevel(0);
        click(*w, chapter->child(0));
        QCOMPARE(shownPage(*w), page(*w, 0));
        const std::string editorText = w->editor().textBytes();

        TreeNode* target = chapter->child(1);
        click(*w, target, Qt::NoModifier, Qt::RightButton);
        QVERIFY(ws.rightClick);
        QCOMPARE(ws.tree.focused(), target);
        QCOMPARE(w->treeView().currentIndex(), indexOf(*w, target));
        QCOMPARE(shownPage(*w), page(*w, 0));  // neither preview nor editor changed
        QCOMPARE(w->editor().textBytes(), editorText);

        shell::TreeContextMenu& menu = w->treeArea().contextMenu();
        QTRY_VERIFY(menu.isVisible());
        QStringList captions;
        for (QAction* a : menu.actions()) captions << a->text();
        QCOMPARE(captions, QStringList({"ノードを開く/閉じる", "ヘッダ追加(&H)",
                                        "コンテンツ追加（&C)", "プロパティ(&P)", "外部エディタ(&E)",
                                        "コンテンツ削除(&D)", "ノードのソート(&S)", "更新(&R)"}));
        QVERIFY(menu.entry("TbDelItem")->isEnabled());
        menu.entry("TbDelItem")->trigger();
        menu.close();
        QCOMPARE(chapter->childCount(), std::size_t{2});
        QVERIFY(!ws.saved);

        // A left click afterwards loads the page that the right click left alone.
        click(*w, chapter->child(1));
        QVERIFY(!ws.rightClick);
        QCOMPARE(shownPage(*w), page(*w, 2));
    }

    void ctrlAndShiftClicksSelectSeveralThatSortAndDeleteTogether() {
        auto w = openSample();
        QVERIFY(w);
        auto& ws = w->workspace();
        TreeNode* chapter = ws.tree.topLevel(0);
        TreeNode* first = chapter->child(0);
        TreeNode* third = chapter->child(2);
        click(*w, first);
        click(*w, third, Qt::ControlModifier);
        QVERIFY(ws.isMultiSelect);
        QCOMPARE(ws.tree.selectedNodes(), (std::vector<TreeNode*>{first, third}));
        QCOMPARE(viewSelectionCount(*w), 2);
        w->updateActions();
        QVERIFY(!w->action("TbAddHeader")->isEnabled());  // adding waits for one selection
        QVERIFY(w->action("ActSortItemUp")->isEnabled());

        // Descending: the two selected positions trade their contents, the middle one stays.
        const QString firstCaption = shownCaption(*w, first);
        const QString thirdCaption = shownCaption(*w, third);
        w->run("ActSortItemUp");
        QCOMPARE(shownCaption(*w, first), thirdCaption);
        QCOMPARE(shownCaption(*w, third), firstCaption);
        QVERIFY(!ws.saved);

        // Ctrl+click takes a node out again; Shift+click selects the rows from the last
        // plain click on.
        click(*w, third, Qt::ControlModifier);
        QCOMPARE(ws.tree.selectedNodes(), std::vector<TreeNode*>{first});
        QCOMPARE(ws.tree.focused(), first);
        click(*w, first);
        TreeNode* next = ws.tree.topLevel(1);
        click(*w, next, Qt::ShiftModifier);
        QCOMPARE(ws.tree.selectedNodes(),
                 (std::vector<TreeNode*>{first, chapter->child(1), third, next}));
        QCOMPARE(viewSelectionCount(*w), 4);
        w->run("TbDelItem");
        QCOMPARE(chapter->childCount(), std::size_t{0});
        QCOMPARE(ws.tree.topLevelCount(), std::size_t{2});
        QCOMPARE(w->treeView().model()->rowCount(), 2);
        QCOMPARE(viewSelectionCount(*w), static_cast<int>(ws.tree.selectedNodes().size()));
    }

    void clickOnEmptySpaceClearsTheSelectionSoTheWholeTreeSorts() {
        auto w = openSample();
        QVERIFY(w);
        auto& ws = w->workspace();
        click(*w, ws.tree.topLevel(0)->child(0));
        QVERIFY(w->pages().isTabVisible(1));
        QTest::mouseClick(w->treeView().viewport(), Qt::LeftButton, Qt::NoModifier, emptySpace(*w));
        QVERIFY(!ws.tree.focused());
        QVERIFY(ws.tree.selectedNodes().empty());
        QCOMPARE(viewSelectionCount(*w), 0);
        QVERIFY(!w->pages().isTabVisible(1));

        // Ascending finds the chapters in order and changes nothing; descending turns them.
        const TreeNode* last = ws.tree.topLevel(2);
        w->run("TBSortItem");
        QVERIFY(ws.saved);
        w->run("ActSortItemUp");
        QCOMPARE(ws.tree.topLevel(0), last);
        QCOMPARE(w->treeView().model()->index(0, 0).data().toString(), shownCaption(*w, last));
        QVERIFY(!ws.saved);
        w->run("NodeExpand");  // nothing selected: every node
        QVERIFY(ws.tree.allExpanded());
        for (TreeNode* n = ws.tree.first(); n; n = project::ContentTree::next(n))
            if (n->hasChildren()) QVERIFY(w->treeView().isExpanded(indexOf(*w, n)));
    }

    void expansionPersistsAcrossClicks() {
        auto w = openSample();
        QVERIFY(w);
        auto& ws = w->workspace();
        auto& view = w->treeView();
        TreeNode* second = ws.tree.topLevel(1);
        QVERIFY(!second->expanded());
        // The +/- box opens the node without selecting it.
        const QRect r = view.visualRect(indexOf(*w, second));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(r.left() - view.indentation() / 2, r.center().y()));
        QTRY_VERIFY(view.isExpanded(indexOf(*w, second)));
        QVERIFY(second->expanded());
        QVERIFY(!second->selected());

        click(*w, second->child(1));
        click(*w, ws.tree.topLevel(0)->child(0), Qt::ControlModifier);
        click(*w, second, Qt::NoModifier, Qt::RightButton);
        w->treeArea().contextMenu().close();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, emptySpace(*w));
        click(*w, second);
        QVERIFY(second->expanded());
        QVERIFY(view.isExpanded(indexOf(*w, second)));
        QVERIFY(ws.tree.topLevel(0)->expanded());

        // A double click opens and closes, and the core follows.
        TreeNode* third = ws.tree.topLevel(2);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(*w, third));
        QVERIFY(third->expanded());
        QVERIFY(view.isExpanded(indexOf(*w, third)));
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(*w, third));
        QVERIFY(!third->expanded());
        QVERIFY(!view.isExpanded(indexOf(*w, third)));
    }

    void plainKeysShowExtendAndScroll() {
        auto w = openSample();
        QVERIFY(w);
        auto& ws = w->workspace();
        auto& view = w->treeView();
        TreeNode* chapter = ws.tree.topLevel(0);
        click(*w, chapter->child(0));
        click(*w, chapter->child(1), Qt::NoModifier, Qt::RightButton);
        w->treeArea().contextMenu().close();
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Down);  // the cursor moves and its page is shown
        QCOMPARE(ws.tree.focused(), chapter->child(2));
        QCOMPARE(shownPage(*w), page(*w, 2));
        for (int i = 0; i < 3; ++i) QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
        QVERIFY(ws.isMultiSelect);
        QCOMPARE(ws.tree.selectedNodes(),
                 (std::vector<TreeNode*>{chapter, chapter->child(0), chapter->child(1),
                                         chapter->child(2)}));
        QCOMPARE(viewSelectionCount(*w), 4);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(ws.tree.selectedNodes(),
                 (std::vector<TreeNode*>{chapter->child(0), chapter->child(1), chapter->child(2)}));
        QTest::keyClick(&view, Qt::Key_Return);
        QVERIFY(!ws.isMultiSelect);
        QCOMPARE(shownPage(*w), page(*w, 0));

        // Plain Right and Left also scroll sideways by a step, besides opening and closing.
        chapter->child(1)->caption = std::u16string(300, u'長');
        ws.tree.nodeChanged(chapter->child(1));
        QScrollBar* bar = view.horizontalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        TreeNode* closed = ws.tree.topLevel(1);
        click(*w, closed);
        bar->setValue(0);
        QTest::keyClick(&view, Qt::Key_Right);
        QVERIFY(closed->expanded());
        QCOMPARE(bar->value(), bar->singleStep());
        QTest::keyClick(&view, Qt::Key_Left);
        QVERIFY(!closed->expanded());
        QCOMPARE(bar->value(), 0);
    }

    void droppedFilesAreImportedUnderTheNodeAndAProjectFileOpens() {
        auto w = openSample();
        QVERIFY(w);
        auto& ws = w->workspace();
        ws.settings.writeInteger("FilterImport", ".htm", 1);
        ws.settings.writeInteger("FilterImport", ".txt", 1);
        const QString outside = dir->path() + "/outside";
        platform::createFolders(outside.toStdString());
        platform::writeFileAtomic(
            (outside + "/dropped.htm").toStdString(),
            platform::utf8ToCp932("<HTML><HEAD><TITLE>落とした頁</TITLE></HEAD></HTML>\r\n"));
        platform::writeFileAtomic((outside + "/memo.txt").toStdString(), "memo\r\n");
        platform::writeFileAtomic((outside + "/photo.png").toStdString(), "PNG");

        struct Case {
            QStringList files;
            int answer;  // title source chosen; -1 cancels the dialog
            QStringList added;
        };
        const Case cases[] = {
            {{"dropped.htm", "photo.png"}, 1, {"落とした頁"}},
            {{"memo.txt", "dropped.htm"}, 0, {"memo", "dropped"}},
            {{"dropped.htm"}, -1, {}},
        };
        for (const Case& c : cases) {
            TreeNode* target = ws.tree.topLevel(1);
            const std::size_t before = target->childCount();
            int asked = 0;
            w->runDialog = [&](QDialog& d) {
                if (!qobject_cast<shell::TitleSourceDialog*>(&d)) return int(QDialog::Rejected);
                ++asked;
                if (c.answer < 0) return int(QDialog::Rejected);
                d.findChildren<QRadioButton*>().at(c.answer)->setChecked(true);
                return int(QDialog::Accepted);
            };
            ws.saved = true;
            QStringList paths;
            for (const QString& f : c.files) paths << outside + "/" + f;
            drop(*w, paths, centreOf(*w, target));
            QCOMPARE(asked, 1);
            QStringList added;
            for (std::size_t i = before; i < target->childCount(); ++i)
                added << shownCaption(*w, target->child(i));
            QCOMPARE(added, c.added);
            QCOMPARE(ws.saved, c.added.isEmpty());
            QVERIFY(ws.tree.selectedNodes().empty());
        }
        QVERIFY(platform::fileExists(ws.resourceFolder() + "/dropped.htm"));
        QVERIFY(!platform::fileExists(ws.resourceFolder() + "/photo.png"));

        // A single project file opens that project (the current one is saved first).
        const std::string other = testing::writeSampleProject(outside.toStdString(), "other", 1, 1);
        prompts->answers = {ui::Answer::Yes};
        drop(*w, {QString::fromStdString(other)}, emptySpace(*w));
        QCOMPARE(ws.projectFile(), other);
        QCOMPARE(w->treeView().model()->rowCount(), 1);
    }

    void theEditorPageSelectsTheAnchorAndOffersItsWholeMenu() {
        auto w = openSample();
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto& ws = w->workspace();
        TreeNode* n = ws.tree.topLevel(0)->child(1);
        n->data.Anchor = "sec2";
        const std::string path = ws.resourceFolder() + "/page1.htm";
        platform::writeFileAtomic(path,
                                  "<HTML><BODY>\r\n<P>intro</P>\r\n<a name=\"sec2\">"
                                  "</a>\r\n</BODY></HTML>\r\n");
        click(*w, n);
        QCOMPARE(w->pages().currentIndex(), 0);
        QVERIFY(w->statusText(0).endsWith(QStringLiteral("page1.htm#sec2")));

        w->pages().setCurrentIndex(1);
        QCOMPARE(w->editor().textCursor().selectedText(), QStringLiteral("<a name=\"sec2"));
        // Entering the editor again keeps that selection; without one the caret goes there.
        w->editor().clearFocus();
        w->editor().setFocus(Qt::TabFocusReason);
        QCOMPARE(w->editor().textCursor().selectedText(), QStringLiteral("<a name=\"sec2"));
        QTextCursor plain = w->editor().textCursor();
        plain.setPosition(0);
        w->editor().setTextCursor(plain);
        w->treeView().setFocus();
        w->editor().setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(w->editor().textCursor().position(),
                     static_cast<int>(std::string("<HTML><BODY>\n<P>intro</P>\n").size()));

        QMenu menu;
        w->editorArea().buildContextMenu(menu);
        const QList<QAction*> items = menu.actions();
        QCOMPARE(items.first()->text(), QStringLiteral("オブジェクトタグ(&T)"));
        QVERIFY(!items.first()->menu()->actions().isEmpty());
        QCOMPARE(items.at(1)->text(), QStringLiteral("カスタムタグ(&S)"));
        QCOMPARE(items.last()->text(), QStringLiteral("ヘルプ(&H)"));
        QVERIFY(!items.last()->isEnabled());  // no help file
        std::vector<std::string> arguments;
        w->help().setLauncher([&](const std::string&, const std::vector<std::string>& a) {
            arguments = a;
            return true;
        });
        w->help().setHelpFile("/help/Tarnbook.CHM");
        QMenu withHelp;
        w->editorArea().buildContextMenu(withHelp);
        withHelp.actions().last()->trigger();
        QVERIFY(std::find(arguments.begin(), arguments.end(), "60") != arguments.end());
    }
};

QTEST_MAIN(TreeInteractionTest)
#include "tree_interaction_test.moc"
