#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "shell/MainWindow.h"
#include "shell/ToolbarDialog.h"
#include "support/Fakes.h"

using namespace tarnbook;

class ToolbarCaptureTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home;
    testing::FakePrompts prompts;

    std::string homePath() const { return home->path().toStdString(); }

    std::unique_ptr<shell::MainWindow> startedWindow() {
        auto w = std::make_unique<shell::MainWindow>(&prompts);
        project::StartupOptions o;
        o.env = project::FirstStartEnvironment::detect(homePath());
        w->startUp(o);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        return w;
    }
    static QToolBar* bar(shell::MainWindow& w, const char* name) {
        return w.findChild<QToolBar*>(QString::fromLatin1(name));
    }
    // The ids of the buttons a toolbar shows, in order.
    static QStringList shownButtons(shell::MainWindow& w, const char* name) {
        QStringList ids;
        for (QAction* a : bar(w, name)->actions())
            if (a->isVisible()) ids << a->objectName();
        return ids;
    }
    struct Layout {
        QMap<QString, QPoint> places;  // visible toolbars' top-left
        QMap<QString, QStringList> buttons;
    };
    static Layout layoutOf(shell::MainWindow& w) {
        Layout l;
        for (const char* name : {"ToolBarFile", "ToolBarPrj", "ToolBarTools", "ToolBarBrowser",
                                 "ToolBarEditor", "ToolBarTag"}) {
            QToolBar* tb = bar(w, name);
            if (!tb || tb->isHidden()) continue;
            l.places[tb->objectName()] = tb->geometry().topLeft();
            l.buttons[tb->objectName()] = shownButtons(w, name);
        }
        return l;
    }

  private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        platform::setAppFolderOverride(platform::NativePath(homePath()));
        prompts.shown.clear();
    }

    void dialogChangesTheToolbarsAndARestartKeepsThemInPlace() {
        Layout before;
        {
            auto w = startedWindow();
            QVERIFY(w);
            // First start: the default masks, all toolbars on one row.
            QCOMPARE(shownButtons(*w, "ToolBarFile"),
                     QStringList({"ProjectOpen", "FileSave", "ProjectSaveAs"}));
            QCOMPARE(shownButtons(*w, "ToolBarTools"), QStringList({"TemplateSetting"}));
            QCOMPARE(bar(*w, "ToolBarPrj")->y(), bar(*w, "ToolBarFile")->y());
            QVERIFY(bar(*w, "ToolBarPrj")->x() > bar(*w, "ToolBarFile")->x());
            // The menu keeps a command whose button is hidden.
            QVERIFY(w->action("FileExit1")->isVisible());

            int rowCount = 0;
            w->runDialog = [&](QDialog& d) {
                auto* t = qobject_cast<shell::ToolbarDialog*>(&d);
                if (!t) return int(QDialog::Rejected);
                rowCount = t->rows().count();
                t->rows().item(2)->setCheckState(Qt::Unchecked);  // ProjectOpen
                t->rows().item(1)->setCheckState(Qt::Checked);    // FileExit1
                for (int i = 19; i <= 25; ++i)                    // the whole tools group
                    t->rows().item(i)->setCheckState(Qt::Unchecked);
                return int(QDialog::Accepted);
            };
            w->run("BarCustomize");
            QCOMPARE(rowCount, 50);
            QCOMPARE(shownButtons(*w, "ToolBarFile"),
                     QStringList({"FileExit1", "FileSave", "ProjectSaveAs"}));
            QVERIFY(bar(*w, "ToolBarTools")->isHidden());
            QVERIFY(w->action("ProjectOpen")->isVisible());

            // Put the editor toolbar on a row of its own.
            w->insertToolBarBreak(bar(*w, "ToolBarEditor"));
            QTest::qWait(50);
            before = layoutOf(*w);
            QVERIFY(before.places["ToolBarEditor"].y() > before.places["ToolBarFile"].y());
            QVERIFY(w->close());
        }
        const auto ini = platform::IniFile::load(homePath() + "/Quillet.INI");
        QCOMPARE(ini.readInteger("Tbar", "mnuFile", -1), 13);
        QCOMPARE(ini.readInteger("Tbar", "mnuTool", -1), 0);
        QCOMPARE(ini.keyNames("TB1Pos").size(), std::size_t{12});

        auto w = startedWindow();
        QVERIFY(w);
        QTest::qWait(50);
        const Layout after = layoutOf(*w);
        QCOMPARE(after.buttons, before.buttons);
        QCOMPARE(after.places, before.places);
    }

    void cancelKeepsTheButtonsAndAMaskAboveTheLargestHidesTheToolbar() {
        {
            platform::IniFile ini;
            ini.writeInteger("Tbar", "mnuFile", 16);
            ini.writeInteger("TBar", "mnuEditor", 0);
            ini.saveAs(homePath() + "/Quillet.INI");
        }
        auto w = startedWindow();
        QVERIFY(w);
        QVERIFY(bar(*w, "ToolBarFile")->isHidden());
        QVERIFY(bar(*w, "ToolBarEditor")->isHidden());
        QVERIFY(!bar(*w, "ToolBarPrj")->isHidden());
        w->runDialog = [](QDialog& d) {
            auto* t = qobject_cast<shell::ToolbarDialog*>(&d);
            if (!t) return int(QDialog::Rejected);
            // Nothing of the hidden file toolbar is checked.
            for (int i = 1; i <= 4; ++i)
                if (t->rows().item(i)->checkState() != Qt::Unchecked) return 99;
            t->rows().item(1)->setCheckState(Qt::Checked);
            return int(QDialog::Rejected);
        };
        w->run("BarCustomize");
        QVERIFY(bar(*w, "ToolBarFile")->isHidden());
        // Cancel still stored the positions.
        const auto ini = platform::IniFile::load(homePath() + "/Quillet.INI");
        QVERIFY(ini.sectionExists("TB1Pos"));
        QCOMPARE(ini.readInteger("Tbar", "mnuFile", -1), 16);
    }

    void shiftEscapeSavesNumberedPicturesWhileCaptureIsOn() {
        auto w = startedWindow();
        QVERIFY(w);
        auto& settings = w->workspace().settings;
        settings.writeString("SYSTEM", "CaptureEx", "true");  // opens nothing
        const std::string first = homePath() + "/Capture0001.bmp";
        const std::string second = homePath() + "/Capture0002.bmp";

        QTest::keyClick(w.get(), Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(!platform::fileExists(first));  // off: the key does nothing

        w->run("Capture");
        QVERIFY(w->action("Capture")->isChecked());
        QTest::keyClick(w.get(), Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(platform::fileExists(first));
        const QImage desktop(QString::fromStdString(first), "BMP");
        QVERIFY(!desktop.isNull());
        const bool global = !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
        if (global) {
            QScreen* s = QGuiApplication::primaryScreen();
            QCOMPARE(desktop.size(), s->geometry().size() * s->devicePixelRatio());
        } else {
            // Only the own window can be grabbed here, and the user is told so once.
            QCOMPARE(desktop.size(), w->size() * w->devicePixelRatio());
            QCOMPARE(prompts.shown.size(), std::size_t{1});
        }

        settings.writeBool("SYSTEM", "CaptureActive", false);
        settings.writeBool("SYSTEM", "CaptureCursor", true);
        QTest::keyClick(w.get(), Qt::Key_Escape, Qt::ShiftModifier);
        const QImage window(QString::fromStdString(second), "BMP");
        QVERIFY(!window.isNull());
        if (global) QCOMPARE(window.size(), w->frameGeometry().size() * w->devicePixelRatio());
        QCOMPARE(prompts.shown.size(), global ? std::size_t{0} : std::size_t{1});

        w->run("Capture");
        QVERIFY(!w->action("Capture")->isChecked());
        QVERIFY(w->close());
        const auto ini = platform::IniFile::load(homePath() + "/Quillet.INI");
        QVERIFY(!ini.readBool("SYSTEM", "CaptureOn", true));
    }

    void captureOnIsRestoredAtStartUp() {
        {
            platform::IniFile ini;
            ini.writeBool("SYSTEM", "CaptureOn", true);
            ini.saveAs(homePath() + "/Quillet.INI");
        }
        auto w = startedWindow();
        QVERIFY(w);
        QVERIFY(w->action("Capture")->isChecked());
        QVERIFY(w->close());
        const auto ini = platform::IniFile::load(homePath() + "/Quillet.INI");
        QVERIFY(ini.readBool("SYSTEM", "CaptureOn", false));
    }
};

QTEST_MAIN(ToolbarCaptureTest)
#include "toolbar_capture_test.moc"
