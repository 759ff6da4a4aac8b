#include <QAction>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>

#include "maintenance/CraftedProject.h"
#include "shell/MaintenanceWindow.h"
#include "support/Fakes.h"

using namespace tarnbook;

class MaintenanceWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void analysisFillsViewsAndMoveEmptiesTheWindow();
};

void MaintenanceWindowTest::analysisFillsViewsAndMoveEmptiesTheWindow() {
    testing::CraftedProject p;
    testing::FakePrompts prompts;
    std::vector<std::string> opened;
    std::vector<int> helpTopics;
    const std::string dust = p.dir.file("dust");
    shell::MaintenanceWindow w(
        p.input(), dust, prompts, [&](int topic) { helpTopics.push_back(topic); },
        [&](const std::string& folder) { opened.push_back(folder); });
    w.show();
    QVERIFY(w.action("Analize").isEnabled());
    QVERIFY(!w.action("Erace").isEnabled());
    QVERIFY(!w.action("ViewAll").isEnabled());
    QCOMPARE(w.counterText("LabelAll"), QStringLiteral("0"));

    w.action("Analize").trigger();
    QVERIFY(!w.action("Analize").isEnabled());
    QVERIFY(w.action("Erace").isEnabled());
    QCOMPARE(w.counterText("LabelHTML"), QStringLiteral("2"));
    QCOMPARE(w.counterText("LabelImg"), QStringLiteral("7"));
    QCOMPARE(w.counterText("LabelHref"), QStringLiteral("1"));
    QCOMPARE(w.counterText("LabelAll"), QStringLiteral("10"));
    QCOMPARE(w.counterText("lblInvalid"), QStringLiteral("1"));
    QCOMPARE(w.list().topLevelItemCount(), 10);
    // Sorted by caption whatever order the analysis found them in.
    QCOMPARE(w.list().topLevelItem(0)->text(0), QStringLiteral("https://example.org/x.gif"));

    w.action("ViewHref").trigger();
    QCOMPARE(w.list().topLevelItemCount(), 1);
    QCOMPARE(w.list().topLevelItem(0)->data(0, Qt::UserRole).toInt(), maintenance::kIconExternal);
    w.action("ViewInvalid").trigger();
    QCOMPARE(w.list().topLevelItemCount(), 1);
    QVERIFY(w.list().topLevelItem(0)->text(0).endsWith(QStringLiteral("/unused.gif")));
    w.list().setCurrentItem(w.list().topLevelItem(0));
    QCOMPARE(w.list().toolTip(), w.list().topLevelItem(0)->text(0));

    w.action("Erace").trigger();
    QCOMPARE(prompts.shown.size(), std::size_t{1});
    QVERIFY(!std::filesystem::exists(p.resource + "/unused.gif"));
    QCOMPARE(w.list().topLevelItemCount(), 0);
    QVERIFY(!w.action("Erace").isEnabled());
    QVERIFY(!w.action("Analize").isEnabled());
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("Panel2"))->isEnabled());
    QCOMPARE(opened, std::vector<std::string>{dust});

    QTest::mouseClick(w.findChild<QWidget*>(QStringLiteral("BitBtnHelp")), Qt::LeftButton);
    QCOMPARE(helpTopics, std::vector<int>{40});
}

QTEST_MAIN(MaintenanceWindowTest)
#include "maintenance_window_test.moc"
