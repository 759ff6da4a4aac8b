// The viewer window over a help built here: the page view serves pages from memory, follows
// ms-its links into a merged sibling, and a hostile page's scripts reach neither local files
// nor anything outside the help.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "chm/ChmContainer.h"
#include "chm/SystemFiles.h"
#include "shell/ChmSchemeHandler.h"
#include "shell/ViewerWindow.h"
#include "support/TempDir.h"

using namespace tarnbook;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {

std::string helpFile(chm::SystemInput in, std::vector<chm::ChmFile> files) {
    for (auto& f : chm::buildSystemFiles(in)) files.push_back(std::move(f));
    return chm::buildChmContainer(files);
}

// Tries to read the machine's files and the file beside the help every way a page can, and
// reports what it got in the title.
const char* kHostilePage =
    "<html><head><title>waiting</title></head><body>\n"
    "<img id=\"i\" src=\"file:///etc/hostname\">\n"
    "<script>\n"
    "const out = [];\n"
    "async function probe(name, url) {\n"
    "  try {\n"
    "    const r = await fetch(url);\n"
    "    const text = r.ok ? await r.text() : '';\n"
    "    out.push(name + ':' + (text.includes('SECRET') ? 'SECRET' : r.ok ? 'ok' : r.status));\n"
    "  } catch (e) {\n"
    "    out.push(name + ':blocked');\n"
    "  }\n"
    "}\n"
    "(async () => {\n"
    "  const own = new XMLHttpRequest();\n"
    "  own.open('GET', 'a.htm', false);\n"
    "  own.send();\n"
    "  out.push('own:' + (own.responseText.includes('ms-its') ? 'ok' : 'failed'));\n"
    "  await probe('file', 'file:///etc/hostname');\n"
    "  await probe('climb', '/../../secret.txt');\n"
    "  await probe('entry', '/%2e%2e/secret.txt');\n"
    "  await probe('its', 'ms-its:../outside.chm::/x.htm');\n"
    "  await probe('web', 'http://127.0.0.1:9/');\n"
    "  const x = new XMLHttpRequest();\n"
    "  try {\n"
    "    x.open('GET', 'file:///etc/hostname', false);\n"
    "    x.send();\n"
    "    out.push('xhr:read');\n"
    "  } catch (e) {\n"
    "    out.push('xhr:blocked');\n"
    "  }\n"
    "  document.title = 'done ' + out.join(' ');\n"
    "  location.href = 'file:///etc/hostname';\n"
    "})();\n"
    "</script></body></html>\n";

}  // namespace

class ViewerWindowTest : public QObject {
    Q_OBJECT

  private:
    TempDir dir_;
    std::unique_ptr<shell::ViewerWindow> window_;

    void waitForUrl(const QUrl& url) {
        QTRY_COMPARE_WITH_TIMEOUT(window_->view()->url(), url, 20000);
    }

  private slots:
    void initTestCase() {
        chm::SystemInput main;
        main.languageId = 0x411;
        main.title = "\x83\x65\x83\x58\x83\x67";  // テスト
        main.contentsFile = "t.hhc";
        main.indexFile = "t.hhk";
        main.defaultTopic = "a.htm";
        main.windows = {{"w", {"", "", "", "", "", "", "", "", "", "", "", "", "[0,0,700,500]"}}};
        main.defaultWindow = "w";
        const std::string toc =
            "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
            "<param name=\"Local\" value=\"a.htm\"></OBJECT>"
            "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Evil\">"
            "<param name=\"Local\" value=\"evil.htm\"></OBJECT></UL></UL>";
        const std::string index =
            "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"alpha\">"
            "<param name=\"Local\" value=\"a.htm\"></OBJECT>"
            "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"beta\">"
            "<param name=\"Local\" value=\"evil.htm\"></OBJECT></UL>";
        writeBytes(dir_.file("lib/main.chm"),
                   helpFile(main, {{"/a.htm",
                                    "<title>\x83\x41</title><p>\x93\xFA\x96\x7B\x8C\xEA</p>"
                                    "<a id=\"l\" href=\"ms-its:part.chm::/b.htm\">b</a>"},
                                   {"/evil.htm", kHostilePage},
                                   {"/t.hhc", toc},
                                   {"/t.hhk", index}}));
        writeBytes(dir_.file("lib/part.chm"), helpFile({}, {{"/b.htm", "<title>B</title>b"}}));
        writeBytes(dir_.file("lib/secret.txt"), "SECRET");
        writeBytes(dir_.file("secret.txt"), "SECRET");
        std::string error;
        auto library = viewer::HelpLibrary::open(dir_.file("lib/main.chm"), &error);
        QVERIFY2(library, error.c_str());
        window_ = std::make_unique<shell::ViewerWindow>(std::move(library));
        window_->show();
    }

    void cleanupTestCase() { window_.reset(); }

    void showsTheHelpsWindowContentsAndIndex() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("テスト"));
        QCOMPARE(window_->size(), QSize(700, 500));
        QCOMPARE(window_->contentsTree()->topLevelItemCount(), 1);
        QCOMPARE(window_->contentsTree()->topLevelItem(0)->childCount(), 1);
        QCOMPARE(window_->indexList()->count(), 2);
        // Type-ahead in the keyword field selects the first keyword that starts so.
        QTest::keyClicks(window_->keywordField(), QStringLiteral("BE"));
        QCOMPARE(window_->indexList()->currentItem()->text(), QStringLiteral("beta"));
        QCOMPARE(window_->search(QStringLiteral("日本")), 1);
        QCOMPARE(window_->searchResults()->item(0)->text(), QStringLiteral("ア"));
    }

    void followsItsLinksIntoTheMergedSibling() {
        window_->showHome();
        waitForUrl(QUrl(QStringLiteral("tarnbook-chm://book0/a.htm")));
        QTRY_VERIFY_WITH_TIMEOUT(window_->view()->title() == QStringLiteral("ア"), 20000);
        window_->view()->page()->runJavaScript(
            QStringLiteral("document.getElementById('l').click()"));
        waitForUrl(QUrl(QStringLiteral("tarnbook-chm://book1/b.htm")));
        QTRY_COMPARE_WITH_TIMEOUT(window_->view()->title(), QStringLiteral("B"), 20000);
    }

    void keepsAHostilePageInsideTheHelp() {
        auto* evil = window_->contentsTree()->topLevelItem(0)->child(0);
        window_->contentsTree()->setCurrentItem(evil);
        emit window_->contentsTree()->itemActivated(evil, 0);
        const QUrl url(QStringLiteral("tarnbook-chm://book0/evil.htm"));
        waitForUrl(url);
        QTRY_VERIFY_WITH_TIMEOUT(window_->view()->title().startsWith(QLatin1String("done")), 20000);
        // Its own help answers; nothing else does, not even the file beside the help.
        QCOMPARE(window_->view()->title(),
                 QStringLiteral("done own:ok file:blocked climb:blocked entry:blocked "
                                "its:blocked web:blocked xhr:blocked"));
        // The script's move to file: was refused: the page stays.
        QTest::qWait(500);
        QCOMPARE(window_->view()->url(), url);
    }
};

int main(int argc, char** argv) {
    tarnbook::shell::registerChmSchemes();
    QApplication app(argc, argv);
    ViewerWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "viewer_window_test.moc"
