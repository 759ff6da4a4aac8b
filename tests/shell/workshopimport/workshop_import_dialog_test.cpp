#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

#include "shell/WorkshopImportDialog.h"
#include "support/TempDir.h"

using tarnbook::shell::WorkshopImportDialog;

class WorkshopImportDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void copyBoxIsOffAndOkWaitsForAnExistingFile() {
        tarnbook::testing::TempDir dir;
        tarnbook::testing::writeBytes(dir.file("toc.hhc"), "<UL></UL>");
        WorkshopImportDialog d(dir.path());
        QCOMPARE(d.copyBox().text(), QStringLiteral("リソースファイルもコピーする"));
        QVERIFY(!d.copyBox().isChecked());
        QVERIFY(!d.okEnabled());
        QTest::keyClicks(&d.pathField(), QString::fromStdString(dir.file("missing.hhc")));
        QVERIFY(!d.okEnabled());
        d.pathField().setText(QString::fromStdString(dir.file("toc.hhc")));
        QVERIFY(d.okEnabled());
        QVERIFY(!d.form().copyResources);
        d.copyBox().click();
        QVERIFY(d.form().copyResources);
        QCOMPARE(QString::fromStdString(d.form().contentsPath),
                 QString::fromStdString(dir.file("toc.hhc")));
    }
};

QTEST_MAIN(WorkshopImportDialogTest)
#include "workshop_import_dialog_test.moc"
