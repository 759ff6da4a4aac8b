#include "shell/ProjectArea.h"

#include <QAction>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QToolButton>

#include "authoring/EditorPage.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/AboutInfo.h"
#include "project/ProjectLifecycle.h"
#include "project/SettingsForm.h"
#include "shell/CommandActions.h"
#include "shell/HelpService.h"
#include "shell/ProjectNameDialog.h"
#include "shell/QtText.h"
#include "shell/SettingsDialog.h"
#include "shell/TemplateEditorDialog.h"
#include "shell/WizardDialog.h"

namespace tarnbook::shell {

ProjectArea::ProjectArea(WindowContext& context) : QObject(&context.window), cx_(context) {}

void ProjectArea::bindCommands() {
    auto& ws = cx_.ws;
    auto& c = cx_.commands;
    c.bind("ProjectOpen", [this, &ws] {
        auto path = cx_.prompts.chooseOpenFile(
            "プロジェクトを開く", "プロジェクトファイル|*.xhp;*.XHP",
            ws.settings.readString("SYSTEM", "PROJECT", platform::appFolder() + "/PROJECT"));
        if (path) project::openChosenInDialog(ws, *path);
    });
    c.bind("FileSave", [&ws] { project::saveProject(ws); });
    c.bind("NewProject", [this, &ws] {
        project::newProject(ws, [this](project::Workspace& w) {
            return runNewProjectWizard(&cx_.window, w, cx_.help.topicOpener());
        });
    });
    c.bind("TemplateSetting",
           [this, &ws] { runTemplateEditor(&cx_.window, ws, cx_.help.topicOpener()); });
    c.bind("ProjectSaveAs", [this] { saveAs(); });
    c.bind("ShowSetting", [this] { showSettings(); });
    c.bind("FileExit1", [this] { cx_.window.close(); });
    c.bind("ShowAbout", [this] { showAbout(); });
    c.bind("mnuHelpView", [this] { cx_.help.showContents(); });
    c.bind("mnuHelpKeyword", [this] { cx_.help.showIndex(); });
    c.bind("OpenPrjFolder", [&ws] { authoring::openProjectFolder(ws); });
}

void ProjectArea::showAbout() {
    const project::AboutInfo info = project::aboutInfo();
    std::string text = info.productName + "\n" + info.build;
    for (const std::string* line : {&info.copyright, &info.description})
        if (!line->empty()) text += "\n" + *line;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("バージョン情報"), fromUtf8(text),
                    QMessageBox::Ok, &cx_.window);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setIconPixmap(QIcon(QStringLiteral(":/icons/tarnbook.svg")).pixmap(48, 48));
    box.setTextFormat(Qt::PlainText);
    cx_.runDialog(box);
}

void ProjectArea::attachMenus(CommandActions& actions) {
    recentMenu_ = actions.recentMenu();
    toolsMenu_ = actions.toolsMenu();
    if (QToolButton* b = actions.toolButton("ProjectOpen")) {
        openDropDown_ = new QMenu(b);
        connect(openDropDown_, &QMenu::aboutToShow, this, &ProjectArea::fillOpenDropDown);
        b->setMenu(openDropDown_);
        b->setPopupMode(QToolButton::MenuButtonPopup);
    }
    recent_.onMenuChanged = [this] { rebuildRecentMenu(); };
    rebuildRecentMenu();
    rebuildToolsMenu({});
}

void ProjectArea::rebuildRecentMenu() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    // The separator stands above the entries once the first name was added.
    if (recent_.hasSeparator()) recentMenu_->addSeparator();
    int n = 0;
    for (const std::string& path : recent_.menuEntries()) {
        QAction* a =
            recentMenu_->addAction(QStringLiteral("&%1 %2").arg(++n).arg(nativeText(path)));
        connect(a, &QAction::triggered, this,
                [this, path] { cx_.guarded([&] { project::openRecentEntry(cx_.ws, path); }); });
    }
    recentMenu_->menuAction()->setEnabled(n > 0);
}

void ProjectArea::fillOpenDropDown() {
    openDropDown_->clear();
    std::vector<std::string> paths;
    cx_.guarded([&] { paths = project::RecentProjects::dropDownEntries(cx_.ws.settings); });
    for (const std::string& path : paths) {
        QAction* a = openDropDown_->addAction(nativeText(path));
        connect(a, &QAction::triggered, this, [this, path] {
            cx_.guarded([&] { project::openFromDropDown(cx_.ws, recent_, path); });
        });
    }
}

void ProjectArea::rebuildToolsMenu(const std::vector<project::ExternalTool>& tools) {
    if (!toolsMenu_) return;
    toolsMenu_->clear();
    QFileIconProvider icons;
    for (const project::ExternalTool& t : tools) {
        const QFileInfo program(nativeText(t.program));
        QAction* a = toolsMenu_->addAction(icons.icon(program), fromCp932(t.caption));
        a->setObjectName(fromUtf8(t.itemName));
        const int number = t.number;
        connect(a, &QAction::triggered, this,
                [this, number] { cx_.guarded([&] { project::runExternalTool(cx_.ws, number); }); });
    }
    toolsMenu_->menuAction()->setVisible(!tools.empty());
}

void ProjectArea::showSettings() {
    SettingsDialog d(project::SettingsForm::load(cx_.ws.settings), cx_.prompts, cx_.runDialog,
                     &cx_.window, cx_.help.topicOpener());
    if (cx_.runDialog(d) != QDialog::Accepted) {
        rebuildToolsMenu(project::externalTools(cx_.ws.settings));
        return;
    }
    const project::SettingsForm::Applied applied = d.form().accept(cx_.ws);
    if (applyNodeBoxes) applyNodeBoxes(applied.nodeBox);
    if (applied.rehighlightSelectedPage && rehighlightEditor) rehighlightEditor();
    rebuildToolsMenu(applied.tools);
}

void ProjectArea::saveAs() {
    const std::string folder =
        cx_.ws.settings.readString("SYSTEM", "PROJECT", platform::appFolder() + "/PROJECT");
    ProjectNameDialog d(folder, &cx_.window);
    if (cx_.runDialog(d) != QDialog::Accepted || !d.okEnabled()) return;
    project::saveProjectAs(cx_.ws, folder, d.name());
}

}  // namespace tarnbook::shell
