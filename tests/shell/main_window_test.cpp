#include <sys/stat.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "SampleProject.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "shell/CompileWaitDialog.h"
#include "shell/ContentTreeModel.h"
#include "shell/DecompileDialog.h"
#include "shell/MainWindow.h"
#include "shell/ProjectNameDialog.h"
#include "shell/SettingsDialog.h"
#include "shell/TextEditor.h"
#include "shell/WebPreview.h"
#include "support/Fakes.h"

using namespace tarnbook;

namespace {

// Stands in for the help compiler: after a moment, writes a log and the compiled file the
// Workshop project names.
constexpr const char* kFakeCompiler = R"(#!/bin/sh
dir=$(dirname "$1")
sleep 0.3
printf 'Fake compiler\r\n\r\nCompiling %s\r\n\r\n' "$1" > "$dir/Compile.Log"
chm=$(sed -n 's/^Compiled file=//p' "$1" | tr -d '\r')
printf 'compiled' > "$dir/$chm"
printf 'Created %s, 8 bytes\r\n' "$chm" >> "$dir/Compile.Log"
)";

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QTemporaryDir> projects;
    std::unique_ptr<testing::FakePrompts> prompts;
    std::string xhp;

    std::string homePath() const { return home->path().toStdString(); }

    std::unique_ptr<shell::MainWindow> newWindow() {
        auto w = std::make_unique<shell::MainWindow>(prompts.get());
        w->show();
        return w;
    }
    std::unique_ptr<shell::MainWindow> openSample() {
        auto w = newWindow();
        if (!w->openProjectFile(xhp)) return nullptr;
        return w;
    }
    project::StartupOptions startOptions(std::vector<std::string> arguments = {}) const {
        project::StartupOptions o;
        o.env = project::FirstStartEnvironment::detect(homePath());
        o.arguments = std::move(arguments);
        return o;
    }
    static void clickNode(shell::MainWindow& w, const project::TreeNode* n) {
        auto* m = static_cast<shell::ContentTreeModel*>(w.treeView().model());
        w.treeView().setCurrentIndex(m->indexOf(n));
    }

  private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        platform::setAppFolderOverride(platform::NativePath(homePath()));
        projects = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<testing::FakePrompts>();
        xhp = testing::writeSampleProject(projects->path().toStdString(), "sample", 3, 3);
    }

    void commandsWithoutAHandlerAreExactlyTheseAndRunningOneFailsLoudly() {
        // Each area binds its commands; this list only shrinks as commands gain their handlers.
        const QStringList expected = {QStringLiteral("TagMovie")};
        auto w = newWindow();
        QStringList unbound;
        for (std::string_view id : w->commands().unbound())
            unbound << QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size()));
        QCOMPARE(unbound, expected);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, w->run("NoSuchCommand"));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, w->run(expected.first().toStdString()));
    }

    void openingShowsTheProjectViews() {
        auto w = newWindow();
        // No project: the contents toolbar and the resource page are hidden.
        QVERIFY(!w->pages().isTabVisible(2));
        QVERIFY(w->openProjectFile(xhp));
        w->updateActions();
        QVERIFY(w->pages().isTabVisible(2));
        QVERIFY(w->windowTitle().contains(QStringLiteral("[ sample ]")));
        QCOMPARE(w->treeView().model()->rowCount(), 3);
        QCOMPARE(w->statusText(2), QStringLiteral("保存済み"));
    }

    void enableRulesFollowTheState() {
        auto w = newWindow();
        w->updateActions();
        for (const char* id : {"ProjectSaveAs", "GoCompile", "ViewCHM", "FileSave", "TbDelItem"})
            QVERIFY2(!w->action(id)->isEnabled(), id);
        QVERIFY(w->action("ShowSetting")->isEnabled());
        QVERIFY(w->action("DeCompile")->isEnabled());

        QVERIFY(w->openProjectFile(xhp));
        w->updateActions();
        QVERIFY(w->action("ProjectSaveAs")->isEnabled());
        QVERIFY(w->action("GoCompile")->isEnabled());
        QVERIFY(!w->action("FileSave")->isEnabled());  // nothing changed yet

        auto& tree = w->workspace().tree;
        clickNode(*w, tree.topLevel(0));
        w->updateActions();
        QVERIFY(w->action("TbDelItem")->isEnabled());
        QVERIFY(!w->action("TbMoveUp")->isEnabled());  // the first node cannot go up
        QVERIFY(w->action("TbMoveDown")->isEnabled());
        clickNode(*w, tree.topLevel(2));
        w->updateActions();
        QVERIFY(w->action("TbMoveUp")->isEnabled());

        // An empty project cannot be built.
        while (tree.topLevel(0)) tree.remove(tree.topLevel(0));
        w->updateActions();
        QVERIFY(!w->action("GoCompile")->isEnabled());
    }

    void clickingANodeLoadsItsPageEditingPreviewsAndSavingWrites() {
        auto w = openSample();
        QVERIFY(w);
        project::TreeNode* page = w->workspace().tree.topLevel(0)->child(1);
        clickNode(*w, page);
        const std::string path = w->workspace().resourceFolder() + "\\page1.htm";
        const std::string before = platform::readFile(path);
        QCOMPARE(platform::nativePath(w->preview().lastTarget()), platform::nativePath(path));
        QCOMPARE(w->editor().textBytes(), before);
        QVERIFY(!w->editor().modified());
        QVERIFY(w->pages().isTabVisible(1));
        QVERIFY(!w->action("TagSave")->isEnabled());

        w->pages().setCurrentIndex(1);
        QTest::keyClicks(&w->editor(), "X");
        QVERIFY(w->editor().modified());
        w->updateActions();
        QVERIFY(w->action("TagSave")->isEnabled());

        w->pages().setCurrentIndex(0);
        const std::string temp = w->workspace().previewTempFile;
        QVERIFY(!temp.empty());
        QCOMPARE(w->preview().lastTarget(), temp);
        QCOMPARE(platform::readFile(temp).substr(0, 1), std::string("X"));
        QCOMPARE(platform::readFile(path), before);  // the page itself is unchanged

        w->pages().setCurrentIndex(1);
        QVERIFY(!platform::fileExists(temp));
        w->run("TagSave");
        QCOMPARE(platform::readFile(path), "X" + before);
        QVERIFY(!w->editor().modified());
        QCOMPARE(w->editor().textBytes(), "X" + before);
    }

    void colouringNeverMarksTheTextModified() {
        auto w = openSample();
        QVERIFY(w);
        clickNode(*w, w->workspace().tree.topLevel(0)->child(0));
        QVERIFY(!w->editor().extraSelections().isEmpty());  // the object element is coloured
        QVERIFY(!w->editor().modified());
        w->editor().setBackground(0xEEEEEE);
        QVERIFY(!w->editor().modified());
    }

    void ctrlArrowsMoveNodesAndTheSavedPaneFollows() {
        auto w = openSample();
        QVERIFY(w);
        auto& tree = w->workspace().tree;
        project::TreeNode* first = tree.topLevel(0);
        project::TreeNode* second = tree.topLevel(1);
        clickNode(*w, second);
        w->treeView().setFocus();
        QTest::keyClick(&w->treeView(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(tree.topLevel(0), second);
        QTest::keyClick(&w->treeView(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(tree.topLevel(1), second);
        // Right: into the heading above, as its last child; Left: back out after it.
        QTest::keyClick(&w->treeView(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(second->parent(), first);
        QCOMPARE(first->child(first->childCount() - 1), second);
        QTest::keyClick(&w->treeView(), Qt::Key_Left, Qt::ControlModifier);
        QVERIFY(second->parent() == nullptr);
        QCOMPARE(tree.topLevel(1), second);
        // The view follows the core tree.
        auto* m = static_cast<shell::ContentTreeModel*>(w->treeView().model());
        QCOMPARE(w->treeView().currentIndex(), m->indexOf(second));

        w->updateActions();
        QCOMPARE(w->statusText(2), QStringLiteral("未保存"));
        QVERIFY(w->action("FileSave")->isEnabled());
        w->run("FileSave");
        QCOMPARE(w->statusText(2), QStringLiteral("保存済み"));
        QVERIFY(!w->action("FileSave")->isEnabled());
    }

    void closeQueryHonoursTheThreeAnswers() {
        const std::string xhc = projects->path().toStdString() + "/sample/sample.XHC";
        const std::string original = platform::readFile(xhc);
        {
            auto w = openSample();
            QVERIFY(w);
            w->workspace().markChanged();
            prompts->answers = {ui::Answer::Cancel};
            QVERIFY(!w->close());
            QVERIFY(w->isVisible());
            QVERIFY(prompts->sawText("保存"));
            prompts->answers = {ui::Answer::No};
            QVERIFY(w->close());
            QCOMPARE(platform::readFile(xhc), original);
        }
        auto w = openSample();
        QVERIFY(w);
        w->workspace().tree.remove(w->workspace().tree.topLevel(2));
        w->workspace().markChanged();
        prompts->answers = {ui::Answer::Yes};
        QVERIFY(w->close());
        QVERIFY(platform::readFile(xhc).size() < original.size());
        QVERIFY(w->workspace().saved);
    }

    void startUpAndShutdownKeepPlacementRecentProjectsAndResume() {
        {
            auto w = std::make_unique<shell::MainWindow>(prompts.get());
            const auto st = w->startUp(startOptions({xhp}));
            QVERIFY(st.projectOpened);
            w->show();
            QVERIFY(w->workspace().hasProject());
            // The separator, then the entry.
            QCOMPARE(w->recentMenu()->actions().size(), 2);
            QVERIFY(w->recentMenu()->actions()[0]->isSeparator());
            QVERIFY(w->recentMenu()->actions()[1]->text().contains(QStringLiteral("sample.xhp"),
                                                                   Qt::CaseInsensitive));
            w->resize(900, 650);
            static_cast<QSplitter*>(w->centralWidget())->setSizes({300, 600});
            // Turn on resume through the settings dialog.
            w->runDialog = [](QDialog& d) {
                auto* s = qobject_cast<shell::SettingsDialog*>(&d);
                if (!s) return int(QDialog::Rejected);
                s->box("Resume")->setChecked(true);
                s->field("Prefix")->setText(QStringLiteral("IDH_"));
                return int(QDialog::Accepted);
            };
            w->run("ShowSetting");
            QVERIFY(w->close());
        }
        const auto settings = platform::IniFile::load(homePath() + "/Quillet.INI");
        QCOMPARE(settings.readInteger("SYSTEM", "Width", 0), 900);
        QCOMPARE(settings.readInteger("SYSTEM", "Frame", 0), 300);
        QCOMPARE(settings.readString("SYSTEM", "Prefix"), std::string("IDH_"));
        QVERIFY(settings.readBool("SYSTEM", "Resume", false));
        QVERIFY(!settings.readString("SYSTEM", "ResumeXHP").empty());

        // The next start resumes the project in the stored placement.
        auto w = std::make_unique<shell::MainWindow>(prompts.get());
        const auto st = w->startUp(startOptions());
        QVERIFY(st.projectOpened);
        w->show();
        QCOMPARE(w->size(), QSize(900, 650));
        QCOMPARE(static_cast<QSplitter*>(w->centralWidget())->sizes().value(0), 300);
        QCOMPARE(w->treeView().model()->rowCount(), 3);
        // The open button's drop-down offers the listed project.
        emit w->openDropDown()->aboutToShow();
        QCOMPARE(w->openDropDown()->actions().size(), 1);
    }

    void saveAsNeedsANewFolderName() {
        auto w = newWindow();
        w->startUp(startOptions({xhp}));
        bool okSeen = false;
        w->runDialog = [&](QDialog& d) {
            auto* n = qobject_cast<shell::ProjectNameDialog*>(&d);
            if (!n) return int(QDialog::Rejected);
            if (n->okEnabled()) return int(QDialog::Rejected);  // OK starts disabled
            n->nameField().setText(QStringLiteral("コピー/"));  // the slash is refused
            okSeen = n->okEnabled();
            return okSeen ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
        w->run("ProjectSaveAs");
        QVERIFY(okSeen);
        const std::string copy = w->workspace().settings.readString("SYSTEM", "PROJECT") + "/" +
                                 platform::utf8ToCp932("コピー/コピー.XHP");
        QVERIFY(platform::fileExists(copy));
        // The same name again: the folder exists, OK stays disabled.
        w->run("ProjectSaveAs");
        QVERIFY(!okSeen);
    }

    void buildRunsTheCompilerBehindTheWaitWindowAndShowsTheLog() {
        auto w = newWindow();
        w->startUp(startOptions({xhp}));
        const std::string compiler = projects->path().toStdString() + "/fakehhc.sh";
        platform::writeFileAtomic(compiler, kFakeCompiler);
        ::chmod(compiler.c_str(), 0755);
        w->workspace().settings.writeString("SYSTEM", "HHC", compiler);
        bool waited = false;
        w->runDialog = [&](QDialog& d) {
            if (!qobject_cast<shell::CompileWaitDialog*>(&d)) return int(QDialog::Rejected);
            waited = true;
            return d.exec();  // closes itself when the compiler ends
        };
        w->updateActions();
        QCOMPARE(w->action("GoCompile")->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
        w->run("GoCompile");
        QVERIFY(waited);
        const std::string chm =
            w->workspace().project->readString("XHP", "FileName", "Default.chm");
        QCOMPARE(platform::readFile(w->workspace().projectFolder() + "/" + chm),
                 std::string("compiled"));
        // The log page is what the preview shows.
        const std::string shown = w->preview().lastTarget();
        QVERIFY(platform::readFile(shown).find("Fake compiler") != std::string::npos);
        QCOMPARE(w->pages().currentIndex(), 0);
    }

    void decompileDialogTakesOnlyAnExistingCompiledHelp() {
        const std::string out = projects->path().toStdString() + "/out";
        shell::DecompileDialog d(out, *prompts);
        QVERIFY(!d.okEnabled());
        d.chmField().setText(QString::fromStdString(out + "/missing.chm"));
        QVERIFY(!d.okEnabled());
        const std::string chm = projects->path().toStdString() + "/help.chm";
        platform::writeFileAtomic(chm, "ITSF");
        d.chmField().setText(QString::fromStdString(chm));
        QVERIFY(d.okEnabled());
        QCOMPARE(d.form().chmPath(), chm);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
