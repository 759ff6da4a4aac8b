#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <set>

#include "SampleProject.h"
#include "platform/Files.h"
#include "project/ContextPopups.h"
#include "shell/ContentTreeModel.h"
#include "shell/HelpService.h"
#include "shell/MainWindow.h"
#include "support/Fakes.h"

using namespace tarnbook;

namespace {

struct Launch {
    std::string program;
    std::vector<std::string> arguments;
};

// A dialog opened by a command: its help button by object name, and the topic that button
// and F1 must open.
struct HelpRow {
    const char* command;
    const char* button;
    int buttonTopic;
    int f1Topic;
};

const HelpRow kRows[] = {
    {"NewProject", "BitBtnHelp", 36, 36},
    {"Maintenance", "BitBtnHelp", 40, 40},
    {"TbAddHeader", "BitBtnHlpNewHeader", 44, 44},
    {"TbAddContent", "BitBtnHlpNewContent", 44, 44},
    {"TbCngProperty", "BitBtnHlpPropChange", 46, 46},
    {"ProjectProperty", "BitBtnHelp", 48, 48},
    {"ProjectProperty", "BitBtnMergeHelp", 56, 48},
    {"ImportFilter", "BitBtnHelp", 50, 50},
    {"ShowSetting", "BitBtnHelp", 52, 52},
    {"TemplateSetting", "BitBtnHelp", 54, 54},
    {"TagPopup", "BitBtnHlpPopup", 60, 60},
    {"TagExt", "BitBtnHelp", 60, 60},
    {"TagRelated", "BitBtnHelp", 60, 60},
    {"TagSound", "BitBtnHelp", 61, 61},
    {"TagHref", "BitBtnHelp", 61, 61},
    {"URLFilter", "BitBtnHelp", 63, 63},
    {"TagA", "BitBtnHelp", 70, 70},
    {"TagK", "BitBtnHelp", 70, 70},
    {"ActTagClose", "BitBtnHelp", 70, 70},
    {"ActTagSplash", "BitBtnHelp", 70, 70},
    {"ImportFolder", "BitBtnHelp", 82, 82},
    {"ExportWeb", "BitBtnHelp", 84, 84},
};

}  // namespace

class HelpServiceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QTemporaryDir> projects;
    std::unique_ptr<testing::FakePrompts> prompts;
    std::vector<Launch> launches;
    bool launcherWorks = true;
    // Context popups whose dialog was seen: "dialog.control", with "?" when it lacks the control.
    std::set<std::string> popupControlsSeen;
    const std::string helpFile = "/opt/tarnbook/Tarnbook.CHM";

    std::unique_ptr<shell::MainWindow> openWindow(bool withHelpFile) {
        auto w = std::make_unique<shell::MainWindow>(prompts.get());
        w->help().setLauncher(
            [this](const std::string& program, const std::vector<std::string>& arguments) {
                launches.push_back({program, arguments});
                return launcherWorks;
            });
        w->help().setHelpFile(withHelpFile ? helpFile : "");
        w->show();
        const std::string xhp =
            testing::writeSampleProject(projects->path().toStdString(), "sample", 2, 2);
        if (!w->openProjectFile(xhp)) return nullptr;
        // A page node selected and the editor page active: every tag command may run.
        auto* model = static_cast<shell::ContentTreeModel*>(w->treeView().model());
        w->treeView().setCurrentIndex(
            model->indexOf(w->workspace().tree.topLevel(0)->firstChild()));
        w->pages().setCurrentIndex(1);
        w->updateActions();
        return w;
    }

    // Runs `command`; once its dialog is up, presses F1, clicks `button` and closes the
    // dialog. Returns the topics opened, in order; -1 when the button was not there.
    std::vector<int> topicsFromDialog(shell::MainWindow& w, const char* command,
                                      const char* button) {
        launches.clear();
        bool buttonFound = false;
        int attempts = 0;
        std::function<void()> poll = [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                if (++attempts < 300) QTimer::singleShot(10, poll);
                return;
            }
            for (const project::ContextPopup& p : project::contextPopups())
                if (dialog->objectName() == QLatin1String(p.dialog.data(), p.dialog.size()))
                    popupControlsSeen.insert(std::string(p.dialog) + "." + std::string(p.control) +
                                             (dialog->findChild<QWidget*>(
                                                  QLatin1String(p.control.data(), p.control.size()))
                                                  ? ""
                                                  : "?"));
            // F1 is a window shortcut: it needs the dialog to be the active window.
            dialog->activateWindow();
            if (QTest::qWaitForWindowActive(dialog, 2000)) QTest::keyClick(dialog, Qt::Key_F1);
            if (auto* b = dialog->findChild<QAbstractButton*>(QString::fromUtf8(button));
                b && b->isEnabled()) {
                buttonFound = true;
                b->click();
            }
            dialog->reject();
        };
        QTimer::singleShot(0, poll);
        w.run(command);
        std::vector<int> topics;
        for (const Launch& l : launches) {
            if (l.arguments.size() == 3 && l.arguments[0] == "--context" &&
                l.arguments[2] == helpFile)
                topics.push_back(std::stoi(l.arguments[1]));
        }
        if (!buttonFound) topics.push_back(-1);
        return topics;
    }

  private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        platform::setAppFolderOverride(platform::NativePath(home->path().toStdString()));
        projects = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<testing::FakePrompts>();
        launches.clear();
        launcherWorks = true;
    }

    void everyHelpButtonAndF1OpensItsTopic() {
        auto w = openWindow(true);
        QVERIFY(w);
        for (const HelpRow& row : kRows) {
            // The folder import asks for its source folder before its dialog.
            if (std::string_view(row.command) == "ImportFolder")
                prompts->fileAnswers.push_back(projects->path().toStdString());
            const std::vector<int> topics = topicsFromDialog(*w, row.command, row.button);
            QCOMPARE_EQ(topics, (std::vector<int>{row.f1Topic, row.buttonTopic}));
        }
        for (const auto& shown : prompts->shown)
            QVERIFY2(shown.text.find("ヘルプビューア") == std::string::npos, shown.text.c_str());
        // Every control the popup table names is in its dialog.
        std::set<std::string> expected;
        for (const project::ContextPopup& p : project::contextPopups())
            expected.insert(std::string(p.dialog) + "." + std::string(p.control));
        QCOMPARE_EQ(popupControlsSeen, expected);
    }

    void helpMenuOpensContentsAndIndexOnlyWithAHelpFile() {
        auto w = openWindow(true);
        QVERIFY(w);
        QVERIFY(w->action("mnuHelpView")->isEnabled());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F1);  // F1 on the window itself: the contents
        w->run("mnuHelpKeyword");
        QCOMPARE(launches.size(), 2u);
        QCOMPARE_EQ(launches[0].arguments, (std::vector<std::string>{helpFile}));
        QCOMPARE_EQ(launches[1].arguments, (std::vector<std::string>{"--index", helpFile}));
        QCOMPARE(launches[0].program, std::string("tarnbook-view"));

        // A viewer that cannot be started is told in Japanese, once per attempt.
        launcherWorks = false;
        const std::size_t before = prompts->shown.size();
        w->run("mnuHelpView");
        QCOMPARE(prompts->shown.size(), before + 1);
        QVERIFY(prompts->shown.back().text.find("ヘルプビューア tarnbook-view を起動できません") !=
                std::string::npos);
    }

    void withoutAHelpFileEveryHelpEntryIsDisabled() {
        auto w = openWindow(false);
        QVERIFY(w);
        QVERIFY(!w->action("mnuHelpView")->isEnabled());
        QVERIFY(!w->action("mnuHelpKeyword")->isEnabled());
        for (const char* command : {"ShowSetting", "TbCngProperty", "TagPopup"}) {
            const std::vector<int> topics = topicsFromDialog(*w, command, "BitBtnHelp");
            QCOMPARE_EQ(topics, std::vector<int>{-1});
        }
        QVERIFY(launches.empty());
    }
};

QTEST_MAIN(HelpServiceTest)
#include "help_service_test.moc"
