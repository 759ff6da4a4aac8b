#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "../SampleProject.h"
#include "compile/HelpProjectWriter.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "shell/MainWindow.h"
#include "shell/ProjectPropertyDialog.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

using namespace tarnbook;

class ProjectPropertyDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QTemporaryDir> projects;
    std::unique_ptr<testing::FakePrompts> prompts;
    std::string xhp;

    std::unique_ptr<shell::MainWindow> openSample() {
        auto w = std::make_unique<shell::MainWindow>(prompts.get());
        w->show();
        if (!w->openProjectFile(xhp)) return nullptr;
        return w;
    }
    template <typename T>
    static T* child(QDialog& d, const char* name) {
        T* c = d.findChild<T*>(QString::fromUtf8(name));
        if (!c) qFatal("no widget %s", name);
        return c;
    }

  private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        platform::setAppFolderOverride(platform::NativePath(home->path().toStdString()));
        projects = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<testing::FakePrompts>();
        xhp = testing::writeSampleProject(projects->path().toStdString(), "sample", 2, 2);
    }

    void okWritesTheProjectAndTheNextBuildFollowsIt() {
        const std::string other = projects->path().toStdString() + "/other";
        platform::createFolders(other);
        testing::writeBytes(other + "/lib.chm", "chm");
        testing::writeBytes(other + "/lib.hhc", "hhc");
        prompts->fileAnswers.push_back(other + "/lib.chm");
        auto w = openSample();
        QVERIFY(w);
        bool shown = false;
        int stage = 0;
        w->runDialog = [&](QDialog& dialog) {
            auto* d = qobject_cast<shell::ProjectPropertyDialog*>(&dialog);
            if (!d) return int(QDialog::Rejected);
            shown = true;
            // The page tree opens on "サイズ"; the last node shows the last page.
            if (d->pages()->currentIndex() != 0) return int(QDialog::Rejected);
            stage = 1;
            QTreeWidget* tree = d->pageTree();
            tree->setCurrentItem(tree->topLevelItem(3));
            if (d->pages()->currentIndex() != 7) return int(QDialog::Rejected);
            stage = 2;

            child<QLineEdit>(dialog, "EditHelpCaption")->setText(QStringLiteral("新しい題名"));
            child<QCheckBox>(dialog, "CBBTNext")->setChecked(true);
            child<QComboBox>(dialog, "CmbBLanguage")->setCurrentIndex(7);  // English
            child<QPushButton>(dialog, "BitBtnMergeAdd")->click();
            // A spoiled number keeps the dialog open and writes nothing.
            // Typed as the author would: select all, Delete.
            auto* width = child<QLineEdit>(dialog, "EditPosW");
            width->selectAll();
            QTest::keyClick(width, Qt::Key_Delete);
            d->okButton()->click();
            if (d->result() == QDialog::Accepted) return int(QDialog::Rejected);
            stage = 3;
            QTest::keyClicks(width, QStringLiteral("640"));
            d->okButton()->click();
            return d->result();
        };
        w->run("ProjectProperty");
        QVERIFY(shown);
        QCOMPARE(stage, 3);
        QVERIFY(prompts->sawText("横幅"));

        const auto p = platform::IniFile::load(xhp);
        QCOMPARE(p.readString("XHP", "HelpName"), platform::utf8ToCp932("新しい題名"));
        QCOMPARE(p.readString("XHP", "BTNext"), std::string("1"));
        QCOMPARE(p.readString("XHP", "LangStr"), std::string("0409 English"));
        QCOMPARE(p.readString("XHP", "Width"), std::string("640"));
        QCOMPARE(p.readString("XHP", "Merge"), std::string("1"));
        QCOMPARE(p.readString("XHP", "Merge1"), other + "/lib.chm");

        auto& ws = w->workspace();
        compile::writeHelpProjectFile(ws);
        const std::string hhp = testing::readBytes(compile::helpProjectFilePath(ws));
        QVERIFY(hhp.find("Language=0x0409 English\r\n") != std::string::npos);
        QVERIFY(hhp.find("Title=" + platform::utf8ToCp932("新しい題名") + "\r\n") !=
                std::string::npos);
        QVERIFY(hhp.find("[MERGE FILES]\r\n") != std::string::npos);
        QVERIFY(hhp.find("lib.chm") != std::string::npos);
    }

    void cancelLeavesIconsAndTheFileAlone() {
        auto w = openSample();
        QVERIFY(w);
        const std::string before = testing::readBytes(xhp);
        w->runDialog = [&](QDialog& dialog) {
            child<QRadioButton>(dialog, "RGNodeIconHtmlHelp")->setChecked(true);
            child<QPushButton>(dialog, "BitBtnNodeIcon")->click();
            return int(QDialog::Rejected);
        };
        w->run("ProjectProperty");
        const project::TreeNode* first = w->workspace().tree.first();
        QCOMPARE(first->data.ImageIndex, 0);
        QVERIFY(w->workspace().saved);
        QCOMPARE(testing::readBytes(xhp), before);
    }
};

QTEST_MAIN(ProjectPropertyDialogTest)
#include "project_property_dialog_test.moc"
