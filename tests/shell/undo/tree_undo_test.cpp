#include <QAction>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "SampleProject.h"
#include "platform/Paths.h"
#include "shell/ContentTreeModel.h"
#include "shell/MainWindow.h"
#include "shell/TextEditor.h"
#include "support/Fakes.h"

using namespace tarnbook;

class TreeUndoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QTemporaryDir> projects;
    testing::FakePrompts prompts;

  private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        platform::setAppFolderOverride(platform::NativePath(home->path().toStdString()));
        projects = std::make_unique<QTemporaryDir>();
    }

    // Delete a heading with its pages, Ctrl+Z in the tree brings it back in its place, shown
    // as it was; Ctrl+Y deletes it again; the saved pane follows; Ctrl+Z in the page editor
    // stays the editor's.
    void ctrlZAndCtrlYUndoAndRedoADeleteInTheTree() {
        const std::string xhp =
            testing::writeSampleProject(projects->path().toStdString(), "sample", 3, 3);
        shell::MainWindow w(&prompts);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(w.openProjectFile(xhp));
        auto& tree = w.workspace().tree;
        auto* model = static_cast<shell::ContentTreeModel*>(w.treeView().model());
        QTreeView& view = w.treeView();

        project::TreeNode* heading = tree.topLevel(1);
        view.setCurrentIndex(model->indexOf(heading));
        view.expand(model->indexOf(heading));
        QVERIFY(heading->expanded());
        w.updateActions();
        QVERIFY(!w.action("TreeUndo")->isEnabled());

        w.run("TbDelItem");
        QCOMPARE(tree.topLevelCount(), std::size_t(2));
        w.updateActions();
        QCOMPARE(w.action("TreeUndo")->text(),
                 QStringLiteral("元に戻す: 削除 「第2章 はじめに」 (&U)"));
        w.run("FileSave");
        QCOMPARE(w.statusText(2), QStringLiteral("保存済み"));

        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(tree.topLevelCount(), std::size_t(3));
        QCOMPARE(tree.topLevel(1), heading);
        QCOMPARE(heading->childCount(), std::size_t(3));
        const QModelIndex restored = model->indexOf(heading);
        QCOMPARE(view.currentIndex(), restored);
        QVERIFY(view.isExpanded(restored));
        QCOMPARE(model->rowCount(restored), 3);
        QVERIFY(view.visualRect(model->index(2, 0, restored)).isValid());
        w.updateActions();
        QCOMPARE(w.statusText(2), QStringLiteral("未保存"));
        QVERIFY(w.action("TreeRedo")->isEnabled());

        QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(tree.topLevelCount(), std::size_t(2));
        w.updateActions();
        QCOMPARE(w.statusText(2), QStringLiteral("保存済み"));

        // In the editor, Ctrl+Z undoes typing and leaves the tree alone.
        view.setCurrentIndex(model->indexOf(tree.topLevel(0)->child(0)));
        w.pages().setCurrentIndex(1);
        w.editor().setFocus();
        const QString text = w.editor().toPlainText();
        QTest::keyClicks(&w.editor(), "X");
        QTest::keyClick(&w.editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.editor().toPlainText(), text);
        QCOMPARE(tree.topLevelCount(), std::size_t(2));
    }
};

QTEST_MAIN(TreeUndoTest)
#include "tree_undo_test.moc"
