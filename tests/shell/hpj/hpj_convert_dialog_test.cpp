#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>

#include "platform/Files.h"
#include "project/ContentTree.h"
#include "shell/HpjConvertDialog.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

using namespace tarnbook;

class HpjConvertDialogTest : public QObject {
    Q_OBJECT
  private:
    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(QString::fromLatin1(name));
        if (!c) qFatal("no widget %s", name);
        return c;
    }
    static QString text(QWidget& w, const char* name) { return child<QLineEdit>(w, name)->text(); }
    static int markedStep(QWidget& w) {
        for (int i = 1; i <= 4; ++i)
            if (child<QRadioButton>(w, QStringLiteral("RB%1").arg(i).toLatin1().constData())
                    ->isChecked())
                return i;
        return 0;
    }

  private slots:
    void convertsTheSampleAndThenReportsAProjectWithoutTopics() {
        testing::TempDir d;
        std::filesystem::copy(std::string(WINHELP_DATA_DIR) + "/sample", d.file("src"),
                              std::filesystem::copy_options::recursive);
        std::filesystem::create_directories(d.file("Help/_RESOURCE"));
        platform::IniFile project;
        project::ContentTree tree;
        testing::FakePrompts prompts;
        shell::HpjConvertDialog dialog({d.file("Help"), project, tree, prompts});
        dialog.show();
        QCOMPARE(markedStep(dialog), 1);
        QVERIFY(!child<QPushButton>(dialog, "BitBtnOK")->isEnabled());

        // "開く" through the file chooser.
        prompts.fileAnswers.push_back(d.file("src/sample.hpj"));
        QTest::mouseClick(child<QPushButton>(dialog, "FileOpenHPJ"), Qt::LeftButton);
        QCOMPARE(markedStep(dialog), 4);
        QCOMPARE(text(dialog, "EditResult"),
                 QStringLiteral("5 topics, 8 keywords, 5 context IDs, 5 warnings"));
        QCOMPARE(text(dialog, "EditConvert"), QStringLiteral("5 topics"));
        QVERIFY(text(dialog, "EditCheck").startsWith(QStringLiteral("2 RTF, CNT")));
        QCOMPARE(child<QListWidget>(dialog, "ListWarnings")->count(), 5);
        QVERIFY(child<QPushButton>(dialog, "BitBtnOK")->isEnabled());
        QVERIFY(dialog.form().treeChanged());
        QCOMPARE(tree.count(), 6u);
        QCOMPARE(winhelp::HpjConvertForm::lastPath(), d.file("src/sample.hpj"));

        // A project whose topic file is missing: reset, with the result kept.
        testing::writeBytes(d.file("bad.hpj"), "[FILES]\r\nnone.rtf\r\n");
        dialog.convert(d.file("bad.hpj"));
        QCOMPARE(markedStep(dialog), 1);
        QCOMPARE(text(dialog, "EditResult"), QStringLiteral(" NotFound :<"));
        QVERIFY(text(dialog, "EditHPJ").isEmpty());
        QVERIFY(text(dialog, "EditCheck").isEmpty());
        QVERIFY(!child<QPushButton>(dialog, "BitBtnOK")->isEnabled());
        QCOMPARE(tree.count(), 6u);
    }
};

QTEST_MAIN(HpjConvertDialogTest)
#include "hpj_convert_dialog_test.moc"
