#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "SampleProject.h"
#include "platform/Files.h"
#include "shell/MainWindow.h"
#include "shell/NewItemDialog.h"
#include "shell/PropertyDialog.h"
#include "shell/TextEditor.h"
#include "shell/WebPreview.h"

using namespace tarnbook;

namespace {

// Runs `fill` on the next modal dialog of type T once it is up. Gives up (and closes any
// modal widget) after a few seconds, so a missing dialog fails the test instead of hanging.
template <typename T>
void whenModal(const std::function<void(T*)>& fill, bool* seen) {
    *seen = false;
    auto* poll = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, fill, seen, started] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* d = qobject_cast<T*>(modal)) {
            poll->stop();
            poll->deleteLater();
            *seen = true;
            fill(d);
            // A failed check returns early from `fill`: do not leave the dialog up.
            QTimer::singleShot(500, d, [d] {
                if (d->isVisible()) d->reject();
            });
        } else if (started->elapsed() > 5000) {
            poll->stop();
            poll->deleteLater();
            if (modal) modal->close();
        }
    });
    poll->start(20);
}

template <typename T>
T* child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no widget %s", name);
    return w;
}

void click(QWidget* parent, const char* name) {
    QTest::mouseClick(child<QPushButton>(parent, name), Qt::LeftButton);
}

}  // namespace

class ItemDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> projects;
    std::string xhp;

    // A window with the sample project open (the standard page exists, so no warning).
    std::unique_ptr<shell::MainWindow> openSample() {
        auto w = std::make_unique<shell::MainWindow>();
        const std::string standard = home.filePath("standard.html").toStdString();
        platform::writeFileAtomic(standard, "<html></html>");
        w->workspace().settings.writeString("SYSTEM", "DefHTML", standard);
        if (!w->openProjectFile(xhp)) return nullptr;
        return w;
    }

  private slots:
    void initTestCase() {
        platform::setAppFolderOverride(platform::NativePath(home.path().toStdString()));
    }
    void init() {
        projects = std::make_unique<QTemporaryDir>();
        xhp = testing::writeSampleProject(projects->path().toStdString(), "sample", 2, 2);
    }

    void addingAndEditingItemsSurvivesSaveAndReopen() {
        auto w = openSample();
        QVERIFY(w);
        w->show();
        project::Workspace& ws = w->workspace();
        ws.tree.selectOnly(ws.tree.topLevel(0));
        w->updateActions();

        // A heading needs only a title.
        bool seen = false;
        whenModal<shell::NewItemDialog>(
            [](shell::NewItemDialog* d) {
                QVERIFY(!child<QPushButton>(d, "OKBtn")->isEnabled());
                QTest::keyClicks(child<QLineEdit>(d, "EditHeadTitle"), "Part Two");
                QVERIFY(child<QPushButton>(d, "OKBtn")->isEnabled());
                click(d, "OKBtn");
            },
            &seen);
        w->run("TbAddHeader");
        QVERIFY(seen);
        QCOMPARE(ws.tree.topLevelCount(), std::size_t{3});
        project::TreeNode* heading = ws.tree.topLevel(1);
        QCOMPARE(heading->data.Title, std::string("Part Two"));
        QVERIFY(heading->data.isHeading());
        QCOMPARE(ws.tree.focused(), heading);

        // A content item with a page named after its title, written from the template.
        w->updateActions();
        whenModal<shell::NewItemDialog>(
            [](shell::NewItemDialog* d) {
                QTest::keyClicks(child<QLineEdit>(d, "EditContentTitle"), "Intro");
                QVERIFY(!child<QPushButton>(d, "OKBtn")->isEnabled());
                click(d, "AutoNew");
                QVERIFY(child<QLineEdit>(d, "EditContentHTML")->text().endsWith("Intro.html"));
                click(d, "OKBtn");
            },
            &seen);
        w->run("TbAddContent");
        QVERIFY(seen);
        project::TreeNode* intro = ws.tree.topLevel(2);
        QCOMPARE(intro->data.Title, std::string("Intro"));
        QCOMPARE(intro->data.HTML, std::string("Intro.html"));
        const std::string introPage = ws.projectFolder() + "/_RESOURCE/Intro.html";
        QVERIFY(platform::fileExists(introPage));
        QVERIFY(platform::readFile(introPage).find("Intro") != std::string::npos);
        QVERIFY(ws.settings.valueExists("SYSTEM", "NewHeadPosX"));

        // The properties of the first page: title, keyword, context ID and icon.
        project::TreeNode* page = ws.tree.topLevel(0)->child(0);
        ws.tree.selectOnly(page);
        w->updateActions();
        whenModal<shell::PropertyDialog>(
            [](shell::PropertyDialog* d) {
                auto* title = child<QLineEdit>(d, "EditTitle");
                title->selectAll();
                QTest::keyClicks(title, "Renamed");
                auto* key = child<QLineEdit>(d, "EditKeyWord");
                key->selectAll();
                QTest::keyClicks(key, "alpha");
                auto* id = child<QLineEdit>(d, "EditID");
                QCOMPARE(id->text(), QStringLiteral("HLP_IDH_"));
                QTest::keyClicks(id, "TOPIC");
                auto* icons = child<QComboBox>(d, "CB2");
                QVERIFY(!child<QComboBox>(d, "CB1")->isEnabled());
                icons->setFocus();
                QTest::keyClick(icons, Qt::Key_Down);
                click(d, "BitBtnOK");
            },
            &seen);
        w->run("TbCngProperty");
        QVERIFY(seen);
        QCOMPARE(page->data.Title, std::string("Renamed"));
        QCOMPARE(page->data.ImageIndex, 9);
        QVERIFY(!ws.saved);
        QVERIFY(ws.settings.valueExists("SYSTEM", "PropPosX"));

        // The type button followed by Cancel changes nothing.
        project::TreeNode* second = ws.tree.topLevel(0)->child(1);
        ws.tree.selectOnly(second);
        w->updateActions();
        whenModal<shell::PropertyDialog>(
            [](shell::PropertyDialog* d) {
                click(d, "CngType");
                QVERIFY(child<QComboBox>(d, "CB1")->isEnabled());
                click(d, "BitBtnCancel");
            },
            &seen);
        w->run("TbCngProperty");
        QVERIFY(seen);
        QVERIFY(!second->data.isHeading());
        QCOMPARE(second->data.ImageIndex, 8);

        w->updateActions();
        w->run("FileSave");
        QVERIFY(ws.saved);
        w.reset();

        auto again = openSample();
        QVERIFY(again);
        project::ContentTree& tree = again->workspace().tree;
        QCOMPARE(tree.topLevelCount(), std::size_t{4});
        QCOMPARE(tree.topLevel(1)->data.Title, std::string("Part Two"));
        QCOMPARE(tree.topLevel(2)->data.HTML, std::string("Intro.html"));
        const project::TData& renamed = tree.topLevel(0)->child(0)->data;
        QCOMPARE(renamed.Title, std::string("Renamed"));
        QVERIFY(renamed.KeyWord == u"alpha");
        QCOMPARE(renamed.ContextID, std::string("HLP_IDH_TOPIC"));
        QCOMPARE(renamed.ImageIndex, 9);
    }

    void enterInTheAnchorBoxAddsAnEntryWithoutClosing() {
        auto w = openSample();
        QVERIFY(w);
        shell::NewItemDialog d(w.get(), w->workspace(), contents::ItemKind::Heading);
        d.show();
        auto* box = child<QComboBox>(&d, "CmbBoxAnchor");
        QTest::keyClicks(child<QLineEdit>(&d, "EditHeadTitle"), "T");
        box->setFocus();
        QTest::keyClicks(box->lineEdit(), "top");
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(box->count(), 2);
        QCOMPARE(d.form().result().anchor, std::string("top"));
        d.reject();
    }
};

QTEST_MAIN(ItemDialogsTest)
#include "item_dialogs_test.moc"
