#include "shell/ToolbarArea.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

#include "project/ProjectLifecycle.h"
#include "shell/CommandActions.h"
#include "shell/QtText.h"
#include "shell/ToolbarDialog.h"

namespace tarnbook::shell {

using project::toolbarSpecs;

ToolbarArea::ToolbarArea(WindowContext& context) : QObject(&context.window), cx_(context) {
    cx_.ws.beforeSettingsWrite = [this] {
        // Before the first layout the toolbars' places mean nothing yet.
        if (!applied_) return;
        storePositions();
        project::writeToolbarPositions(cx_.ws.settings, positions_);
    };
}

void ToolbarArea::bindCommands() {
    cx_.commands.bind("BarCustomize", [this] { customize(); });
}

void ToolbarArea::attach(CommandActions& actions) {
    actions_ = &actions;
    for (std::size_t i = 0; i < project::kToolbarCount; ++i) {
        QToolBar* tb = bar(i);
        if (!tb) continue;
        tb->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(tb, &QWidget::customContextMenuRequested, this, [this, tb](const QPoint& at) {
            QMenu menu;
            if (QAction* a = cx_.action("BarCustomize")) menu.addAction(a);
            menu.exec(tb->mapToGlobal(at));
        });
    }
}

QToolBar* ToolbarArea::bar(std::size_t index) const {
    return actions_ ? actions_->toolbar(toolbarSpecs()[index].name) : nullptr;
}

void ToolbarArea::applySettings() {
    if (!actions_) return;
    const project::ToolbarMasks masks = project::readToolbarMasks(cx_.ws.settings);
    std::array<int, project::kToolbarCount> widths{};
    std::array<bool, project::kToolbarCount> visible{};
    for (std::size_t i = 0; i < project::kToolbarCount; ++i) {
        const auto& entry = toolbarSpecs()[i];
        const project::ToolbarLook look = project::toolbarLook(entry, masks[i]);
        for (std::size_t k = 0; k < entry.buttons.size(); ++k) {
            QAction* button = actions_->buttonAction(entry.buttons[k]);
            if (!button) continue;  // a command this build has no handler for
            button->setVisible(look.buttons[k]);
            visible[i] = visible[i] || look.buttons[k];
        }
        widths[i] = look.width;
        shownMasks_[i] = project::maskOf(look.buttons);
    }
    const auto stored = project::readToolbarPositions(cx_.ws.settings);
    positions_ = stored ? *stored : project::chainedToolbarPositions(positions_, widths);
    place(positions_);
    for (std::size_t i = 0; i < project::kToolbarCount; ++i)
        if (QToolBar* tb = bar(i)) tb->setVisible(visible[i]);
    applied_ = true;
}

void ToolbarArea::place(const project::ToolbarPositions& positions) {
    QMainWindow& w = cx_.window;
    for (std::size_t i = 0; i < project::kToolbarCount; ++i)
        if (QToolBar* tb = bar(i)) w.removeToolBar(tb);
    bool firstRow = true;
    for (const auto& row : project::toolbarRows(positions)) {
        bool rowStarted = false;
        for (std::size_t i : row) {
            QToolBar* tb = bar(i);
            if (!tb) continue;
            if (!rowStarted && !firstRow) w.addToolBarBreak(Qt::TopToolBarArea);
            rowStarted = true;
            firstRow = false;
            w.addToolBar(Qt::TopToolBarArea, tb);
        }
    }
}

void ToolbarArea::storePositions() {
    // Geometry means something only once the window has been laid out; hidden toolbars keep
    // the place they had.
    if (!cx_.window.isVisible()) return;
    const QWidget* menu = cx_.window.menuWidget();
    const int bandTop = menu ? menu->geometry().bottom() + 1 : 0;
    for (std::size_t i = 0; i < project::kToolbarCount; ++i) {
        QToolBar* tb = bar(i);
        if (!tb || tb->isHidden() || cx_.window.toolBarArea(tb) != Qt::TopToolBarArea) continue;
        positions_[i] = {tb->geometry().top() - bandTop, tb->geometry().left()};
    }
}

void ToolbarArea::customize() {
    project::writeSettings(cx_.ws);  // the positions as they are now, even on cancel
    ToolbarDialog d(*actions_, shownMasks_, &cx_.window);
    if (cx_.runDialog(d) != QDialog::Accepted) return;
    project::writeToolbarMasks(cx_.ws.settings, d.masks());
    project::writeSettings(cx_.ws);
    applySettings();
}

}  // namespace tarnbook::shell
