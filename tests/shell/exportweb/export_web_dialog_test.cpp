#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "shell/ExportWebDialog.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

using namespace tarnbook;

class ExportWebDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheProjectsSettings() {
        const auto ini = platform::IniFile::fromBytes(
            platform::utf8ToCp932("[XHP]\nName=N\nHelpName=日本語ヘルプ\nWebCSS=/s/w.css\n"));
        testing::FakePrompts prompts;
        shell::ExportWebDialog d(webexport::ExportWebForm::fromProject(ini), "/p", prompts);
        QCOMPARE(d.windowTitle(), QStringLiteral("Web形式で出力"));
        QCOMPARE(d.titleField().text(), QStringLiteral("日本語ヘルプ"));
        QCOMPARE(d.styleSheetField().text(), QStringLiteral("/s/w.css"));
        QVERIFY(d.folderField().text().isEmpty());
        QVERIFY(!d.okButton().isEnabled());
        d.folderField().setText(QStringLiteral("/tmp/out"));
        QVERIFY(d.okButton().isEnabled());
        d.titleField().setText(QStringLiteral("別の題"));
        QCOMPARE(platform::cp932ToUtf8(d.form().title), std::string("別の題"));
    }

    void okKeepsTheDialogOpenForUnusableSettings() {
        testing::TempDir dir;
        const std::string project = dir.file("P");
        testing::writeBytes(project + "/_RESOURCE/a.htm", "x");
        testing::FakePrompts prompts;
        shell::ExportWebDialog d(webexport::ExportWebForm{}, project, prompts);
        d.folderField().setText(QString::fromStdString(project + "/_RESOURCE/web"));
        d.okButton().click();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(prompts.shown.size(), std::size_t(1));
        QCOMPARE(prompts.shown[0].text, std::string("リソースフォルダの中には出力できません。"));

        d.styleSheetField().setText(QString::fromStdString(dir.file("none.css")));
        d.folderField().setText(QString::fromStdString(dir.file("web")));
        d.okButton().click();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(prompts.shown.size(), std::size_t(2));

        testing::writeBytes(dir.file("w.css"), "p{}");
        d.styleSheetField().setText(QString::fromStdString(dir.file("w.css")));
        d.okButton().click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.form().outputFolder, dir.file("web"));
        QCOMPARE(d.form().styleSheet, dir.file("w.css"));
    }

    void theBrowseButtonsFillTheFields() {
        testing::FakePrompts prompts;
        prompts.fileAnswers.push_back(std::string("/x/site.css"));
        prompts.fileAnswers.push_back(std::string("/x/out"));
        shell::ExportWebDialog d(webexport::ExportWebForm{}, "/p", prompts);
        d.findChild<QToolButton*>(QStringLiteral("FileOpenCSS"))->click();
        d.findChild<QToolButton*>(QStringLiteral("FolderOpen"))->click();
        QCOMPARE(d.styleSheetField().text(), QStringLiteral("/x/site.css"));
        QCOMPARE(d.folderField().text(), QStringLiteral("/x/out"));
    }
};

QTEST_MAIN(ExportWebDialogTest)
#include "export_web_dialog_test.moc"
