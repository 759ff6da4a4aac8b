#include <QAbstractItemModelTester>
#include <QTreeView>
#include <QtTest>
#include <random>

#include "project/ContentTree.h"
#include "shell/ContentTreeModel.h"

using namespace tarnbook;
using project::ContentTree;
using project::TreeNode;

namespace {

std::unique_ptr<TreeNode> node(int n) {
    auto t = std::make_unique<TreeNode>();
    t->caption = u"n" + std::u16string(1, static_cast<char16_t>(u'0' + n % 10));
    return t;
}

TreeNode* randomNode(ContentTree& tree, std::mt19937& rng) {
    if (tree.empty()) return nullptr;
    auto all = tree.preorder();
    return all[rng() % all.size()];
}

}  // namespace

// The model passes every change of the core tree on as row notifications; Qt's own model
// tester checks each one against the model's answers while a view keeps persistent indexes.
class TreeModelTest : public QObject {
    Q_OBJECT

  private slots:
    void randomEditsKeepTheModelContract() {
        ContentTree tree;
        shell::ContentTreeModel model(tree);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QTreeView view;
        view.setModel(&model);
        std::mt19937 rng(7);
        for (int i = 0; i < 30; ++i) tree.appendChild(randomNode(tree, rng), node(i));
        for (int step = 0; step < 2000 && !QTest::currentTestFailed(); ++step) {
            TreeNode* a = randomNode(tree, rng);
            switch (rng() % 7) {
                case 0:
                    tree.insertChild(a, rng() % 3, node(step));
                    break;
                case 1:
                    if (a && tree.count() > 5) tree.remove(a);
                    break;
                case 2: {
                    TreeNode* to = randomNode(tree, rng);
                    if (a && to != a && !(to && a->isAncestorOf(to))) tree.moveTo(a, to, rng() % 4);
                    break;
                }
                case 3:
                    tree.sortChildren(
                        a ? a->parent() : nullptr,
                        [](const TreeNode& x, const TreeNode& y) { return x.caption < y.caption; });
                    break;
                case 4:
                    if (a) tree.setExpanded(a, !a->expanded());
                    if (a) view.setCurrentIndex(model.indexOf(a));
                    break;
                case 5:
                    tree.setFocused(a);
                    break;
                default:
                    if (rng() % 50 == 0) {
                        ContentTree::Rebuild rebuild(tree);
                        tree.clear();
                        for (int k = 0; k < 10; ++k) tree.appendChild(nullptr, node(k));
                    }
            }
            // Every node is where the model says it is.
            for (TreeNode* n : tree.preorder()) {
                const QModelIndex i = model.indexOf(n);
                QCOMPARE(shell::ContentTreeModel::nodeAt(i), n);
                QCOMPARE(shell::ContentTreeModel::nodeAt(model.parent(i)), n->parent());
            }
        }
    }
};

QTEST_MAIN(TreeModelTest)
#include "tree_model_test.moc"
