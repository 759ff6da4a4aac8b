#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "compile/CompileRun.h"
#include "contents/TreeOps.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "project/ProjectLifecycle.h"
#include "shell/AutoSizerWindow.h"
#include "shell/MainWindow.h"
#include "shell/NewStyleNameDialog.h"
#include "shell/TemplateEditorDialog.h"
#include "shell/TextEditor.h"
#include "shell/WebPreview.h"
#include "shell/WizardDialog.h"
#include "support/Fakes.h"

using namespace tarnbook;

namespace {

// Runs `drive` on the next modal dialog of type T once it is shown; the dialog must be
// closed by `drive`, or it is rejected so a failing check cannot hang the test.
template <class T>
void whenShown(std::function<void(T*)> drive, bool* ran = nullptr, int attempts = 200) {
    QTimer::singleShot(attempts == 200 ? 0 : 10, [drive, ran, attempts] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (attempts > 0) whenShown<T>(drive, ran, attempts - 1);  // not up yet
            return;
        }
        if (ran) *ran = true;
        drive(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

// Types any text as key presses (keyClicks takes Latin-1 only).
void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), {});
}

QPushButton* button(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

struct Fixture {
    testing::FakePrompts prompts;
    testing::FakePreview preview;
    testing::FakeEditor editor;
    testing::FakeStatus status;
    project::Workspace ws{prompts, preview, editor, status};
    QTemporaryDir dir;
    std::string projects;

    Fixture() {
        projects = dir.path().toStdString() + "/PROJECT";
        platform::createFolders(projects);
        auto& s = ws.settings;
        s.setPath(dir.path().toStdString() + "/Tarnbook.INI");
        s.writeString("SYSTEM", "PROJECT", projects);
        s.writeInteger("TEMPLATE", "TOTAL", 2);
        s.writeInteger("TEMPLATE", "DEFAULT", 2);
        s.writeString("TEMPLATE1", "Name", "Default");
        s.writeString("TEMPLATE2", "Name", platform::utf8ToCp932("製品マニュアル"));
        s.writeInteger("TEMPLATE2", "PosW", 700);
        s.writeBool("TEMPLATE2", "BTView", true);
        s.writeBool("TEMPLATE2", "KeepPos", true);
        s.save();
    }
};

}  // namespace

class WizardGuiTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;

  private slots:
    void initTestCase() {
        platform::setAppFolderOverride(platform::NativePath(home.path().toStdString()));
    }

    // The whole road: the wizard's widgets make the project, an item is added, the project is
    // saved and built by the compiler driver into a .chm.
    void wizardCreatesAProjectThatBuilds() {
        Fixture f;
        bool ran = false;
        whenShown<shell::WizardDialog>(
            [](shell::WizardDialog* d) {
                QCOMPARE(d->windowTitle(), QString::fromUtf8("Tarnbookウィザード"));
                QCOMPARE(d->templateList()->count(), 2);
                QCOMPARE(d->templateList()->currentIndex(), 1);  // DEFAULT = 2
                QCOMPARE(d->fields().width->text(), QStringLiteral("700"));
                QVERIFY(d->fields().keepPos->isChecked());
                QVERIFY(!d->nextButton()->isEnabled());
                QVERIFY(!d->backButton()->isEnabled());
                typeText(d->projectNameField(), QString::fromUtf8("Guide"));
                QVERIFY(d->nextButton()->isEnabled());
                // Digits only; Backspace is discarded too.
                QLineEdit* x = d->fields().posX;
                x->setFocus();
                x->end(false);
                QTest::keyClicks(x, QStringLiteral("a1-"));
                QTest::keyClick(x, Qt::Key_Backspace);
                QCOMPARE(x->text(), QStringLiteral("2001"));
                QTest::mouseClick(d->nextButton(), Qt::LeftButton);
                QCOMPARE(d->nextButton()->text(), QString::fromUtf8("完了(&N)"));
                QVERIFY(d->backButton()->isEnabled());
                QVERIFY(d->fields().buttons[4]->isVisible());  // page 2 shows the buttons
                QVERIFY(!d->fields().posX->isVisible());
                d->fields().buttons[4]->click();  // 印刷
                QTest::mouseClick(d->nextButton(), Qt::LeftButton);
            },
            &ran);
        const bool created = project::newProject(
            f.ws, [](project::Workspace& ws) { return shell::runNewProjectWizard(nullptr, ws); });
        QVERIFY(ran);
        QVERIFY(created);
        QVERIFY(f.ws.hasProject());
        const std::string name = platform::utf8ToCp932("Guide");
        const std::string folder = f.projects + "\\" + name;
        QCOMPARE(f.ws.projectFolder(), folder);
        QVERIFY(platform::fileExists(folder + "\\" + name + ".XHP"));
        const auto& p = *f.ws.project;
        QCOMPARE(p.readString("XHP", "HelpName"), name);
        QCOMPARE(p.readString("XHP", "FileName"), name + ".chm");
        QCOMPARE(p.readInteger("XHP", "Width"), 700);
        QCOMPARE(p.readInteger("XHP", "PosX"), 2001);
        QVERIFY(p.readBool("XHP", "BTView"));
        QVERIFY(p.readBool("XHP", "BTPrint"));
        QVERIFY(p.readBool("XHP", "KeepPos"));
        QVERIFY(f.ws.settings.valueExists("SYSTEM", "WizardPosX"));
        QVERIFY(f.prompts.shown.empty());

        contents::ItemForm item;
        item.title = platform::utf8ToCp932("はじめに");
        item.page = "intro.htm";
        QVERIFY(contents::addItem(f.ws, contents::ItemKind::Content, &item) != nullptr);
        QVERIFY(platform::fileExists(f.ws.resourceFolder() + "\\intro.htm"));
        project::saveProject(f.ws);
        QVERIFY(f.ws.saved);
        QVERIFY(platform::fileExists(folder + "\\" + name + ".XHC"));

        const std::string driver = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/hhc/tarnbook-hhc";
        if (!platform::fileExists(driver) || platform::findExecutable("chmcmd").empty())
            QSKIP("needs the built tarnbook-hhc and chmcmd");
        f.ws.settings.writeString("SYSTEM", "HHC", driver);
        const compile::CompileResult r = compile::goCompile(f.ws);
        QVERIFY2(r.outcome == compile::CompileOutcome::Succeeded,
                 (std::to_string(static_cast<int>(r.outcome)) + " " + r.error + "\n" +
                  platform::readFile(folder + "\\Compile.Log"))
                     .c_str());
        QCOMPARE(platform::fileNamePart(r.chmPath), name + ".chm");
        QVERIFY(platform::fileExists(r.chmPath));
        // The directory of the compiled file names the added page.
        QVERIFY(platform::readFile(r.chmPath).find("intro.htm") != std::string::npos);
    }

    // An existing project folder: "キャンセル" empties the name and leaves "次へ" off; the
    // folder is not touched. Going back from page 2 relabels the button.
    void existingFolderCancelledClearsTheName() {
        Fixture f;
        platform::createFolders(f.projects + "/Old");
        f.prompts.answers = {ui::Answer::Cancel, ui::Answer::Yes};
        shell::WizardDialog d(nullptr, f.ws, f.prompts);
        d.show();
        QTest::keyClicks(d.projectNameField(), QStringLiteral("Old"));
        QTest::mouseClick(d.nextButton(), Qt::LeftButton);
        QCOMPARE(f.prompts.shown.size(), std::size_t{1});
        QCOMPARE(f.prompts.shown[0].kind, std::string("confirm"));
        QCOMPARE(f.prompts.shown[0].buttons, ui::Buttons::YesCancel);
        QVERIFY(d.projectNameField()->text().isEmpty());
        QVERIFY(!d.nextButton()->isEnabled());
        QCOMPARE(d.form().page(), 1);

        QTest::keyClicks(d.projectNameField(), QStringLiteral("Old"));
        QTest::mouseClick(d.nextButton(), Qt::LeftButton);  // "はい": overwrite agreed
        QCOMPARE(d.form().page(), 2);
        QTest::mouseClick(d.backButton(), Qt::LeftButton);
        QCOMPARE(d.form().page(), 1);
        QCOMPARE(d.nextButton()->text(), QString::fromUtf8("次へ(&N)"));
        QVERIFY(!d.backButton()->isEnabled());
        QVERIFY(!f.ws.hasProject());

        // Choosing a template keeps the typed name and replaces the other fields.
        d.templateList()->setCurrentIndex(0);
        emit d.templateList()->activated(0);
        QCOMPARE(d.projectNameField()->text(), QStringLiteral("Old"));
        QCOMPARE(d.fields().width->text(), QStringLiteral("600"));
        QVERIFY(!d.fields().keepPos->isChecked());
    }

    // A number field that is not a number ends "完了" with the error and creates nothing.
    void badNumberFieldCreatesNothing() {
        Fixture f;
        shell::WizardDialog d(nullptr, f.ws, f.prompts);
        d.show();
        QTest::keyClicks(d.projectNameField(), QStringLiteral("Empty"));
        d.fields().height->setFocus();
        d.fields().height->selectAll();
        QTest::keyClick(d.fields().height, Qt::Key_Delete);
        QCOMPARE(d.fields().height->text(), QString());
        QTest::mouseClick(d.nextButton(), Qt::LeftButton);
        QTest::mouseClick(d.nextButton(), Qt::LeftButton);
        QVERIFY(d.isVisible());
        QCOMPARE(f.prompts.shown.size(), std::size_t{1});
        QCOMPARE(f.prompts.shown[0].kind, std::string("error"));
        QVERIFY(!f.ws.hasProject());
        QVERIFY(!platform::folderExists(f.projects + "/Empty"));
    }

    void autoSizerRoundTripsTheFields() {
        bool ran = false;
        whenShown<shell::AutoSizerWindow>(
            [](shell::AutoSizerWindow* w) {
                QCOMPARE(w->windowTitle(), QStringLiteral("Auto Sizer"));
                QCOMPARE(w->size(), QSize(565, 452));
                QCOMPARE(w->splitter()->sizes().value(0), 180);
                QTest::mouseClick(button(w, "BitBtnOK"), Qt::LeftButton);
            },
            &ran);
        auto same = shell::runAutoSizer(nullptr, {30, 40, 600, 500, 180});
        QVERIFY(ran);
        QVERIFY(same.has_value());
        QCOMPARE(same->width, 600);
        QCOMPARE(same->height, 500);
        QCOMPARE(same->paneWidth, 180);

        // The author widens the window and drags the splitter.
        whenShown<shell::AutoSizerWindow>([](shell::AutoSizerWindow* w) {
            w->resize(665, 452);
            w->splitter()->setSizes({250, 400});
            QTest::mouseClick(button(w, "BitBtnOK"), Qt::LeftButton);
        });
        auto changed = shell::runAutoSizer(nullptr, {30, 40, 600, 500, 180});
        QVERIFY(changed.has_value());
        QCOMPARE(changed->width, 700);
        QCOMPARE(changed->paneWidth, 250);

        whenShown<shell::AutoSizerWindow>([](shell::AutoSizerWindow* w) {
            w->resize(300, 300);
            QTest::mouseClick(button(w, "BitBtnCancel"), Qt::LeftButton);
        });
        QVERIFY(!shell::runAutoSizer(nullptr, {30, 40, 600, 500, 180}).has_value());
    }

    // The template editor's widgets: pages, new style through its name dialog, delete, and
    // closing with the three answers.
    void templateEditorEditsAndDiscards() {
        Fixture f;
        const platform::IniFile before = f.ws.settings;
        shell::TemplateEditorDialog d(nullptr, f.ws.settings, f.prompts);
        d.show();
        QCOMPARE(d.windowTitle(), QString::fromUtf8("プロジェクトスタイルテンプレート"));
        QCOMPARE(d.pages()->count(), 4);
        QCOMPARE(d.pages()->tabText(3), QString::fromUtf8("スタイル"));
        QCOMPARE(d.pages()->currentIndex(), 0);
        QCOMPARE(d.templateList()->count(), 2);
        QCOMPARE(d.templateList()->currentIndex(), 1);
        QVERIFY(d.defaultBox()->isChecked());
        QVERIFY(d.deleteButton()->isEnabled());
        QVERIFY(!d.form().modified());

        QTest::keyClicks(d.fields().frameWidth, QStringLiteral("x5"));
        QCOMPARE(d.form().fields.frameWidth, std::string("2005"));
        QVERIFY(d.form().modified());

        // 新規スタイル with an empty name becomes "NoName" and is shown.
        bool asked = false;
        whenShown<shell::NewStyleNameDialog>(
            [](shell::NewStyleNameDialog* n) {
                QCOMPARE(n->windowTitle(), QString::fromUtf8("新規スタイル名入力"));
                QVERIFY(n->nameField()->text().isEmpty());
                QTest::mouseClick(button(n, "OKBtn"), Qt::LeftButton);
            },
            &asked);
        QTest::mouseClick(d.newStyleButton(), Qt::LeftButton);
        QVERIFY(asked);
        QCOMPARE(d.templateList()->count(), 3);
        QCOMPARE(d.templateList()->currentText(), QStringLiteral("NoName"));
        QCOMPARE(f.ws.settings.readInteger("TEMPLATE2", "FrameWidth"), 2005);  // saved first
        QVERIFY(!d.defaultBox()->isChecked());

        QTest::mouseClick(d.deleteButton(), Qt::LeftButton);
        QCOMPARE(d.templateList()->count(), 2);
        QCOMPARE(f.ws.settings.readInteger("TEMPLATE", "TOTAL"), 2);

        // "キャンセル" keeps the window; "いいえ" discards what changed since the last save
        // (the unsaved style), while the frame width saved before it stays.
        f.prompts.answers = {ui::Answer::Cancel, ui::Answer::No};
        d.close();
        QVERIFY(d.isVisible());
        d.close();
        QVERIFY(!d.isVisible());
        QCOMPARE(f.prompts.shown.size(), std::size_t{2});
        QCOMPARE(f.prompts.shown[1].buttons, ui::Buttons::YesNoCancel);
        QCOMPARE(f.ws.settings.readInteger("TEMPLATE2", "FrameWidth", 200), 2005);
        QVERIFY(f.ws.settings.valueExists("SYSTEM", "TmpSettingPosX"));
        QVERIFY(f.ws.settings.valueExists("SYSTEM", "NewStylePosX"));
        auto reread = platform::IniFile::load(f.ws.settings.path());
        QCOMPARE(reread.readInteger("TEMPLATE", "TOTAL"), 2);
        QCOMPARE(reread.readInteger("TEMPLATE2", "FrameWidth", 200), 2005);
        QVERIFY(!reread.sectionExists("TEMPLATE3"));
        QCOMPARE(reread.readString("TEMPLATE2", "Name"), before.readString("TEMPLATE2", "Name"));
    }

    // Choosing another template saves the shown one; "デフォルトに指定" moves DEFAULT.
    void templateEditorChoosingSavesAndMakesDefault() {
        Fixture f;
        shell::TemplateEditorDialog d(nullptr, f.ws.settings, f.prompts);
        d.show();
        d.fields().tabFavorite->click();
        d.templateList()->setCurrentIndex(0);
        emit d.templateList()->activated(0);
        QVERIFY(f.ws.settings.readBool("TEMPLATE2", "TabFavorite"));
        QCOMPARE(d.templateList()->currentText(), QStringLiteral("Default"));
        QVERIFY(d.deleteButton()->isEnabled());
        QVERIFY(!d.defaultBox()->isChecked());
        d.defaultBox()->click();
        QCOMPARE(f.ws.settings.readInteger("TEMPLATE", "DEFAULT"), 1);
        // Renaming through the list's text, then "はい" on closing saves it.
        d.templateList()->lineEdit()->selectAll();
        QTest::keyClicks(d.templateList()->lineEdit(), QStringLiteral("Plain"));
        d.close();
        QVERIFY(!d.isVisible());
        auto reread = platform::IniFile::load(f.ws.settings.path());
        QCOMPARE(reread.readString("TEMPLATE1", "Name"), std::string("Plain"));
        QCOMPARE(reread.readInteger("TEMPLATE", "DEFAULT"), 1);
    }

    // The window binds both commands.
    void mainWindowBindsTheCommands() {
        shell::MainWindow w;
        QAction* newProject = w.action("NewProject");
        QVERIFY(newProject);
        QCOMPARE(newProject->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(newProject->text(), QString::fromUtf8("新規プロジェクト(&N)..."));
        QVERIFY(w.action("TemplateSetting"));
        bool editorShown = false;
        whenShown<shell::TemplateEditorDialog>([](shell::TemplateEditorDialog* d) { d->close(); },
                                               &editorShown);
        w.run("TemplateSetting");
        QVERIFY(editorShown);
        bool wizardShown = false;
        whenShown<shell::WizardDialog>([](shell::WizardDialog* d) { d->reject(); }, &wizardShown);
        w.run("NewProject");
        QVERIFY(wizardShown);
        QVERIFY(!w.workspace().hasProject());
    }
};

QTEST_MAIN(WizardGuiTest)
#include "wizard_dialog_test.moc"
