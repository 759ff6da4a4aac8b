// The program's help as a user meets it, on the manual this build compiled: every topic
// number the program calls opens its page in the viewer, and in a dialog F1 shows the focused
// control's popup text (Shift+F1 and a click too) while F1 elsewhere opens the dialog's topic.
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <QWebEngineView>
#include <QWhatsThis>

#include "ManualTopics.h"
#include "shell/ChmSchemeHandler.h"
#include "shell/ContextHelp.h"
#include "shell/HelpService.h"
#include "shell/ImportDialogs.h"
#include "shell/ViewerWindow.h"
#include "support/Fakes.h"

using namespace tarnbook;

namespace {

bool popupShown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && QByteArray(w->metaObject()->className()) == "QWhatsThat") return true;
    return false;
}

}  // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

  private slots:
    void everyTopicNumberShowsItsPage() {
        std::string error;
        auto library = viewer::HelpLibrary::open(TARNBOOK_HELP_FILE, &error);
        QVERIFY2(library, error.c_str());
        shell::ViewerWindow window(std::move(library));
        window.show();
        for (const auto& [number, title] : tarnbook::testing::kManualTopics) {
            const auto page = window.library().contextPage(number);
            QVERIFY2(page, std::to_string(number).c_str());
            window.showTarget(*page);
            QTRY_COMPARE_WITH_TIMEOUT(window.view()->title(), QString::fromUtf8(title), 20000);
        }
    }

    void f1ShowsTheFocusedControlsPopupElseTheTopic() {
        testing::FakePrompts prompts;
        shell::HelpService help(prompts);
        help.setHelpFile(TARNBOOK_HELP_FILE);
        std::vector<std::uint32_t> popups;
        std::optional<std::string> lastText;
        shell::ContextHelp context([&](std::uint32_t id) {
            popups.push_back(id);
            return lastText = help.popupText(id);
        });
        std::vector<int> topics;
        shell::TitleSourceDialog dialog(nullptr, [&](int t) { topics.push_back(t); });
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));

        auto* choice = dialog.findChildren<QRadioButton*>().value(0);
        QVERIFY(choice);
        choice->setFocus();
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE_EQ(popups, std::vector<std::uint32_t>{10304});
        QVERIFY(lastText && lastText->find("ファイル名") != std::string::npos);
        QTRY_VERIFY(popupShown());
        QVERIFY(topics.empty());
        QWhatsThis::hideText();

        // "What's this" mode: a click on the control shows its popup instead of choosing it.
        const bool wasChecked = choice->isChecked();
        QTest::keyClick(&dialog, Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(QWhatsThis::inWhatsThisMode());
        QTest::mouseClick(choice, Qt::LeftButton);
        QCOMPARE_EQ(popups, (std::vector<std::uint32_t>{10304, 10304}));
        QCOMPARE(choice->isChecked(), wasChecked);
        QWhatsThis::hideText();

        // A control without a popup: the dialog's topic.
        dialog.findChild<QAbstractButton*>(QStringLiteral("OKBtn"))->setFocus();
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE_EQ(topics, std::vector<int>{82});
        QCOMPARE(popups.size(), 2u);
    }
};

int main(int argc, char** argv) {
    shell::registerChmSchemes();
    QApplication app(argc, argv);
    HelpViewerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "help_viewer_test.moc"
