#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>
#include <set>

#include "SampleProject.h"
#include "contents/CommandTable.h"
#include "platform/Files.h"
#include "project/AboutInfo.h"
#include "shell/JapaneseQt.h"
#include "shell/MainWindow.h"
#include "shell/ResourceArea.h"
#include "support/Fakes.h"

using namespace tarnbook;

namespace {

// One row of tests/data/command_table.tsv; "—" stands for an empty cell.
struct Row {
    QString id, category, caption, hint, shortcut, rule;
};

std::vector<Row> readCommandTable() {
    QFile f(QStringLiteral(TARNBOOK_SOURCE_DIR "/tests/data/command_table.tsv"));
    std::vector<Row> rows;
    if (!f.open(QIODevice::ReadOnly)) return rows;
    const auto cell = [](const QString& c) { return c == QStringLiteral("—") ? QString() : c; };
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QStringList c = line.split(QLatin1Char('\t'));
        if (c.size() != 6) return {};
        rows.push_back({c[0], cell(c[1]), cell(c[2]), cell(c[3]), cell(c[4]), c[5]});
    }
    return rows;
}

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The rules a letter of the table stands for; "—" is any rule no letter names.
std::set<contents::Rule> rulesOf(const QString& letter) {
    using enum contents::Rule;
    static const std::map<QString, std::set<contents::Rule>> letters = {
        {"A", {A}},
        {"B", {B}},
        {"C", {C}},
        {"D", {MoveUp, MoveDown, MoveLeft, MoveRight}},
        {"E", {E}},
        {"F", {F}},
        {"G", {G}},
        {"H", {H}},
        {"I", {I}},
        {"J", {J}},
        {"K", {K}},
        {"L", {L}},
        {"M", {MapEdit, PopupEdit}},
    };
    if (auto it = letters.find(letter); it != letters.end()) return it->second;
    std::set<contents::Rule> rest = {Always, Back, Forward, ResourceDelete, ResourceKeyword};
    return rest;
}

QMenu* menuNamed(QMainWindow& w, const QString& caption) {
    for (QAction* a : w.menuBar()->actions())
        if (a->text() == caption) return a->menu();
    return nullptr;
}

}  // namespace

class WindowBindingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> projects;
    std::unique_ptr<testing::FakePrompts> prompts;
    std::string xhp;

    std::unique_ptr<shell::MainWindow> openSample() {
        auto w = std::make_unique<shell::MainWindow>(prompts.get());
        w->resize(1000, 700);
        w->show();
        if (!w->openProjectFile(xhp)) return nullptr;
        w->updateActions();
        return w;
    }

  private slots:
    void initTestCase() { QVERIFY(shell::installJapaneseQt(*qApp)); }

    void init() {
        projects = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<testing::FakePrompts>();
        xhp = testing::writeSampleProject(projects->path().toStdString(), "sample", 2, 2);
    }

    void everyCommandShowsTheCaptionHintAndShortcutOfTheTable() {
        const std::vector<Row> rows = readCommandTable();
        // Commands the program adds to the table: the help file's entries and the tree's undo.
        const QStringList added = {"mnuHelpView", "mnuHelpKeyword", "TreeUndo", "TreeRedo"};
        std::vector<const contents::Command*> commands;
        for (const contents::Command& c : contents::commandTable())
            if (!added.contains(text(c.id))) commands.push_back(&c);
        QCOMPARE(rows.size(), commands.size());
        QCOMPARE(contents::commandTable().size(), commands.size() + added.size());
        shell::MainWindow w(prompts.get());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& r = rows[i];
            const contents::Command& c = *commands[i];
            const QByteArray where = r.id.toUtf8();
            QCOMPARE(text(c.id), r.id);  // the same commands in the same order
            QVERIFY2(text(c.category) == r.category, where);
            QVERIFY2(text(c.caption) == r.caption, where);
            QVERIFY2(text(c.hint) == r.hint, where);
            QVERIFY2(QKeySequence(text(c.shortcut)) == QKeySequence(r.shortcut), where);
            QVERIFY2(r.shortcut.isEmpty() || !QKeySequence(r.shortcut).isEmpty(), where);
            QVERIFY2(rulesOf(r.rule).contains(c.rule), where);

            QAction* a = w.action(c.id);
            if (!a) continue;  // unbound: the window test lists these
            const QString shortHint = r.hint.section(QLatin1Char('|'), 0, 0);
            QVERIFY2(a->text() == (r.caption.isEmpty() ? shortHint : r.caption), where);
            QVERIFY2(a->shortcut() == QKeySequence(r.shortcut), where);
            if (r.hint.isEmpty()) continue;
            QVERIFY2(a->toolTip() == shortHint, where);
            QVERIFY2(a->statusTip() == r.hint.section(QLatin1Char('|'), -1), where);
        }
    }

    void menuItemsAndButtonsWithHintsOfTheirOwnShowThem() {
        shell::MainWindow w(prompts.get());
        struct Place {
            const char* menu;  // nullptr: a button of the tag toolbar
            const char* id;
            const char* statusTip;
        };
        const Place places[] = {
            {"プロジェクト(&P)", "ViewLog", "最後に行ったコンパイルのログを表示します"},
            {"プロジェクト(&P)", "PutMap", "プログラムからの呼び出し用マップファイルを出力します"},
            {"プロジェクト(&P)", "ExportWeb", "Web上配布形式に変換します"},
            {"ツール(&T)", "ImportFilter", "フォルダ取り込み時、ドロップ時のフィルタを設定します"},
            {"ツール(&T)", "Capture", "ウインドウ画面をキャプチャします ( Shift + Escape )"},
            {"ツール(&T)", "ImportHPJ", "Win32 ヘルププロジェクトをコンバートします"},
            {nullptr, "TagPopup", "ポップアップタグを指定位置に挿入します"},
        };
        for (const Place& p : places) {
            const QList<QAction*> items =
                p.menu ? menuNamed(w, QString::fromUtf8(p.menu))->actions()
                       : w.findChild<QToolBar*>(QStringLiteral("ToolBarTag"))->actions();
            QAction* item = nullptr;
            for (QAction* a : items)
                if (a->objectName() == QLatin1String(p.id)) item = a;
            QVERIFY2(item && item != w.action(p.id), p.id);
            QCOMPARE(item->statusTip(), QString::fromUtf8(p.statusTip));
            // The place runs its command and follows its state.
            QCOMPARE(item->isEnabled(), w.action(p.id)->isEnabled());
            // The WinHelp conversion really converts, so unlike the original it is offered.
            QVERIFY(item->isVisible());
        }
        QCOMPARE(w.toolsMenu()->menuAction()->statusTip(),
                 QStringLiteral("登録された外部ツールを使用します"));

        // The toolbar area's context menu offers the toolbar settings and nothing else.
        std::unique_ptr<QMenu> popup(w.createPopupMenu());
        QCOMPARE(popup->actions(), QList<QAction*>{w.action("BarCustomize")});
    }

    void resourceListTakesDropsUnregistersAndOffersItsCommands() {
        auto w = openSample();
        QVERIFY(w);
        auto& list = w->resources().list();
        w->pages().setCurrentIndex(2);  // builds the all-resources view
        QCOMPARE(list.topLevelItemCount(), 6);
        const int width = list.viewport()->width();
        QCOMPARE(list.columnWidth(0), width / 2);
        QCOMPARE(list.columnWidth(1), width / 4);

        // A new file is copied in and registered; a name the folder has is refused.
        const std::string outside = projects->path().toStdString() + "/logo.gif";
        platform::writeFileAtomic(outside, "GIF89a");
        const std::string taken = projects->path().toStdString() + "/page0.htm";
        platform::writeFileAtomic(taken, "other");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(outside)),
                      QUrl::fromLocalFile(QString::fromStdString(taken)),
                      QUrl::fromLocalFile(projects->path())});  // a folder: skipped
        prompts->shown.clear();
        const QPoint at = list.viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QCOMPARE(prompts->shown.size(), std::size_t(1));
        QVERIFY(prompts->sawText("同名のファイルが存在します"));
        const std::string res = w->workspace().resourceFolder();
        QCOMPARE(platform::readFile(res + "/logo.gif"), std::string("GIF89a"));
        QCOMPARE(platform::readFile(res + "/page0.htm").find("other"), std::string::npos);
        auto& project = *w->workspace().project;
        QCOMPARE(project.readString("Addition", "File1"), std::string("_RESOURCE\\logo.gif"));
        QCOMPARE(list.topLevelItemCount(), 1);  // the added view

        // The context menu holds the two resource commands; a picture has no keyword.
        QMenu* menu = w->resources().contextMenu();
        QCOMPARE(menu->actions(), (QList<QAction*>{w->action("ResDel"), w->action("Keyword")}));
        list.topLevelItem(0)->setSelected(true);
        w->updateActions();
        QVERIFY(w->action("ResDel")->isEnabled());
        QVERIFY(!w->action("Keyword")->isEnabled());

        // A selected node page cannot be unregistered.
        w->run("ResAll");
        list.topLevelItem(0)->setSelected(true);
        w->updateActions();
        QVERIFY(!w->action("ResDel")->isEnabled());

        // Unregistering keeps the file; the last entry gone, the section goes too.
        w->run("ResAdd");
        list.topLevelItem(0)->setSelected(true);
        w->run("ResDel");
        QCOMPARE(list.topLevelItemCount(), 0);
        QVERIFY(!project.sectionExists("Addition"));
        QVERIFY(platform::fileExists(res + "/logo.gif"));
        const auto saved = platform::IniFile::load(xhp);
        QVERIFY(!saved.sectionExists("Addition"));
    }

    void memoryPaneAboutBoxAndQtTextsSpeakJapanese() {
        auto w = openSample();
        QVERIFY(w);
        QVERIFY(QRegularExpression(QStringLiteral("^メモリ: \\d{1,3}% 空き$"))
                    .match(w->statusText(3))
                    .hasMatch());

        QString about;
        w->runDialog = [&](QDialog& d) {
            if (auto* box = qobject_cast<QMessageBox*>(&d)) about = box->text();
            return int(QDialog::Accepted);
        };
        w->run("ShowAbout");
        const project::AboutInfo info = project::aboutInfo();
        for (const std::string* fact :
             {&info.productName, &info.build, &info.copyright, &info.description})
            QVERIFY2(about.contains(QString::fromStdString(*fact)), fact->c_str());

        // Qt's own texts: a text field's context menu, a file chooser, standard buttons.
        const QRegularExpression english(
            QStringLiteral("^[A-Za-z&.:' ]*[A-Za-z]{2}[A-Za-z&.:' ]*$"));
        QLineEdit field;
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
        QFileDialog chooser;
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        QStringList texts;
        for (QAction* a : menu->actions()) texts << a->text();
        for (QLabel* l : chooser.findChildren<QLabel*>()) texts << l->text();
        for (QAbstractButton* b : chooser.findChildren<QAbstractButton*>()) texts << b->text();
        QDialogButtonBox standard(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                  QDialogButtonBox::Yes | QDialogButtonBox::No);
        for (QAbstractButton* b : standard.buttons()) texts << b->text();
        texts << QCoreApplication::translate("QAbstractFileIconProvider", "Folder");
        QVERIFY(texts.size() > 20);
        for (const QString& t : texts)
            QVERIFY2(t == QLatin1String("OK") || !english.match(t).hasMatch(), qPrintable(t));
    }
};

QTEST_MAIN(WindowBindingTest)
#include "window_binding_test.moc"
