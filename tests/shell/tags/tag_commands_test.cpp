#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>

#include "authoring/EditorPage.h"
#include "authoring/ResourceRegistry.h"
#include "compile/CompileRun.h"
#include "compile/Decompile.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "project/ProjectLifecycle.h"
#include "shell/ButtonTagDialogs.h"
#include "shell/MediaTagDialogs.h"
#include "shell/TagCommands.h"
#include "shell/TextEditor.h"
#include "support/Fakes.h"

using namespace tarnbook;

namespace {

// Fills the dialog of type T the command is about to show, once its modal loop runs. A
// different or missing dialog fails the test and is closed, so nothing hangs.
template <typename T>
void onNextDialog(std::function<void(T*)> fill) {
    QTimer::singleShot(0, [fill] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<T*>(modal);
        if (!dialog) {
            if (modal) modal->close();
            QFAIL("the expected dialog did not open");
        }
        fill(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

template <typename T>
T* child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no widget %s", name);
    return w;
}

int rowOf(QListWidget* list, const char* utf8Title) {
    const auto found = list->findItems(QString::fromUtf8(utf8Title), Qt::MatchExactly);
    return found.isEmpty() ? -1 : list->row(found.first());
}

bool contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

}  // namespace

class TagCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp;

  private slots:
    void relatedTopicsAndAnchorLinkReachTheCompiledHelp() {
        const std::string folder = temp.filePath("Sample").toStdString();
        std::filesystem::copy(TARNBOOK_SOURCE_DIR "/examples/sample", folder,
                              std::filesystem::copy_options::recursive);

        testing::FakePrompts prompts;
        testing::FakePreview preview;
        testing::FakeStatus status;
        shell::TextEditor editor;
        project::Workspace ws{prompts, preview, editor, status};
        ws.settings.writeString("SYSTEM", "HHC", TARNBOOK_HHC_PATH);
        QVERIFY(project::openProject(ws, folder + "/Sample.XHP"));

        // The start page is open in the editor, the caret before its body end.
        project::TreeNode* start = nullptr;
        ws.tree.forEach([&](project::TreeNode& n) {
            if (!start && n.data.HTML == "index.htm") start = &n;
        });
        QVERIFY(start);
        ws.tree.setFocused(start);
        ws.currentPage = authoring::resourceFullPath(ws, start->data.HTML);
        ws.editorFile = ws.currentPage;
        editor.setTextBytes(platform::readFile(ws.currentPage));
        const auto bodyEnd = editor.find("</BODY>", 0, true, false);
        QVERIFY(bodyEnd);
        editor.setSelection(*bodyEnd, 0);

        shell::TagCommands commands(nullptr, ws);

        // A related-topics button for two pages, shown as a dialog.
        onNextDialog<shell::RelatedTopicsDialog>([](shell::RelatedTopicsDialog* d) {
            auto* topics = child<QListWidget>(d, "CLBTopics");
            auto* ok = child<QPushButton>(d, "OKBtn");
            QVERIFY(!ok->isEnabled());
            for (const char* title : {"インストール", "よくある質問"}) {
                const int row = rowOf(topics, title);
                QVERIFY(row >= 0);
                topics->item(row)->setCheckState(Qt::Checked);
            }
            QVERIFY(ok->isEnabled());
            child<QRadioButton>(d, "RBDialog")->click();
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QVERIFY(commands.run("TagRelated"));

        // A link to the question anchor of the FAQ page.
        editor.setSelection(*editor.find("</BODY>", 0, true, false), 0);
        onNextDialog<shell::PageLinkDialog>([](shell::PageLinkDialog* d) {
            auto* pages = child<QListWidget>(d, "LBPages");
            auto* anchors = child<QComboBox>(d, "CBAnchor");
            auto* text = child<QLineEdit>(d, "EditLinkText");
            QVERIFY(!anchors->isEnabled());
            pages->setCurrentRow(rowOf(pages, "よくある質問"));
            QVERIFY(anchors->isEnabled());
            QCOMPARE(anchors->currentText(), QString::fromUtf8("指定無し"));
            QCOMPARE(text->text(), QString::fromUtf8("よくある質問"));
            const int q1 = anchors->findText(QStringLiteral("q1"));
            QVERIFY(q1 > 0);
            anchors->setCurrentIndex(q1);
            emit anchors->activated(q1);
            QCOMPARE(text->text(), QStringLiteral("q1"));
            QTest::mouseClick(child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
        });
        QVERIFY(commands.run("TagHref"));

        const std::string resource = authoring::resourceFullPath(ws, "");
        const std::string related =
            "<param name=\"Command\" value=\"Related Topics\"><PARAM name=\"Button\" "
            "value=\"Text:" +
            platform::utf8ToCp932("関連トピック") + "\"><param name=\"Item1\" value=\"" +
            platform::utf8ToCp932("インストール;") +
            authoring::resourceFullPath(ws, "basics\\install.htm");
        const std::string link = "<a href=\"faq.htm#q1\">q1</a>";
        QVERIFY(contains(editor.textBytes(), related));
        QVERIFY(contains(editor.textBytes(), link + "</BODY>"));
        QVERIFY(editor.modified());

        // Saved and built, the compiled help holds both.
        QVERIFY(authoring::tagSave(ws, {}));
        const std::string saved = platform::readFile(folder + "/_RESOURCE/index.htm");
        QVERIFY(contains(saved, related) && contains(saved, link));
        const compile::CompileResult built = compile::goCompile(ws);
        QVERIFY2(built.outcome == compile::CompileOutcome::Succeeded,
                 platform::readFile(built.logPath).c_str());
        const std::string unpacked = temp.filePath("unpacked").toStdString();
        QVERIFY(compile::decompileChm(built.chmPath, unpacked).opened);
        const std::string page = platform::readFile(unpacked + "/_RESOURCE/index.htm");
        QVERIFY(contains(page, related));
        QVERIFY(contains(page, link));
    }

    void keywordObjectGoesBeforeTheHeadEndOnly() {
        testing::FakePrompts prompts;
        testing::FakePreview preview;
        testing::FakeStatus status;
        shell::TextEditor editor;
        project::Workspace ws{prompts, preview, editor, status};
        shell::TagCommands commands(nullptr, ws);
        QVERIFY(shell::TagCommands::handles("TagKto"));
        QVERIFY(!shell::TagCommands::handles("TagMovie"));

        for (const char* page : {"<html><head></head><body></body></html>", "<p>no head</p>"}) {
            editor.setTextBytes(page);
            onNextDialog<shell::TagNameDialog>([](shell::TagNameDialog* d) {
                QCOMPARE(d->windowTitle(), QString::fromUtf8("Kリンク挿入"));
                child<QLineEdit>(d, "EditName")->setText(QStringLiteral("setup"));
                d->accept();
            });
            const bool hasHead = contains(page, "<head>");
            QCOMPARE(commands.run("TagKto"), hasHead);
            QCOMPARE(contains(editor.textBytes(), "<param name=\"Keyword\" value=\"setup\">"),
                     hasHead);
        }
    }
};

QTEST_MAIN(TagCommandsTest)
#include "tag_commands_test.moc"
