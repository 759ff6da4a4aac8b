#include "shell/CommandActions.h"

#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {

// The tool tip takes a hint's short part, the status pane its long part.
void setHint(QAction* a, std::string_view hint) {
    if (hint.empty()) return;
    a->setToolTip(fromUtf8(contents::hintShort(hint)));
    a->setStatusTip(fromUtf8(contents::hintLong(hint)));
}

}  // namespace

CommandActions::CommandActions(QMainWindow& window, const contents::CommandRegistry& commands,
                               std::function<void(std::string_view)> run)
    : QObject(&window), window_(window), commands_(commands), run_(std::move(run)) {}

void CommandActions::build() {
    for (const auto& c : contents::commandTable()) {
        if (!commands_.isBound(c.id)) continue;
        auto* a = new QAction(fromUtf8(contents::displayCaption(c)), &window_);
        a->setObjectName(fromUtf8(c.id));
        const QString icon = QStringLiteral(":/icons/cmd/%1.svg").arg(fromUtf8(c.id));
        if (QFile::exists(icon)) a->setIcon(QIcon(icon));
        if (!c.shortcut.empty()) a->setShortcut(QKeySequence(fromUtf8(c.shortcut)));
        setHint(a, c.hint);
        const std::string id(c.id);
        connect(a, &QAction::triggered, this, [this, id] { run_(id); });
        actions_[id] = a;
        window_.addAction(a);
    }
    buildMenus();
    buildToolbars();
}

void CommandActions::buildMenus() {
    for (const auto& m : contents::menuLayouts()) {
        std::vector<QAction*> items;  // null: a separator
        bool pendingSeparator = false;
        for (auto e : m.entries) {
            if (e == "|") {
                pendingSeparator = !items.empty();
                continue;
            }
            QAction* item = nullptr;
            const std::string_view hint = contents::placeHint(contents::menuItemHints(), e);
            if (e[0] == '@') {
                // Submenus filled from the recent-projects list and the external tools.
                auto* sub = new QMenu(fromUtf8(e.substr(1)), &window_);
                (e.find("外部ツール") != std::string_view::npos ? toolsMenu_ : recentMenu_) = sub;
                item = sub->menuAction();
                setHint(item, hint);
            } else if (QAction* command = action(e)) {
                // A menu item with a hint of its own is a mirror.
                item = hint.empty() ? command : mirrorFor(command, &window_, hint);
            }
            if (!item) continue;
            if (pendingSeparator) items.push_back(nullptr);
            pendingSeparator = false;
            items.push_back(item);
        }
        if (items.empty()) continue;
        QMenu* menu = window_.menuBar()->addMenu(fromUtf8(m.caption));
        for (QAction* a : items) {
            if (a)
                menu->addAction(a);
            else
                menu->addSeparator();
        }
    }
}

void CommandActions::buildToolbars() {
    for (const auto& bar : contents::toolbarLayouts()) {
        const bool left = bar.name == "ToolBarLeft";
        QToolBar* tb = nullptr;
        for (auto id : bar.commands) {
            QAction* a = action(id);
            if (!a) continue;
            if (!tb) {
                tb = new QToolBar(fromUtf8(bar.name), &window_);
                tb->setObjectName(fromUtf8(bar.name));
                tb->setIconSize(QSize(16, 16));
                tb->setMovable(!left);
                window_.addToolBar(left ? Qt::LeftToolBarArea : Qt::TopToolBarArea, tb);
                toolbars_[std::string(bar.name)] = tb;
            }
            if (left) {
                tb->addAction(a);
            } else {
                QAction* mirror =
                    mirrorFor(a, tb, contents::placeHint(contents::toolButtonHints(), id));
                buttonActions_[std::string(id)] = mirror;
                tb->addAction(mirror);
            }
        }
    }
}

QAction* CommandActions::mirrorFor(QAction* command, QObject* parent, std::string_view hint) {
    auto* m = new QAction(parent);
    m->setObjectName(command->objectName());
    const std::string ownHint(hint);
    auto sync = [m, command, ownHint] {
        m->setText(command->text());
        m->setIcon(command->icon());
        if (ownHint.empty()) {
            m->setToolTip(command->toolTip());
            m->setStatusTip(command->statusTip());
        } else {
            setHint(m, ownHint);
        }
        m->setEnabled(command->isEnabled());
        m->setCheckable(command->isCheckable());
        m->setChecked(command->isChecked());
        if (m->menu<QMenu*>() != command->menu<QMenu*>()) m->setMenu(command->menu<QMenu*>());
    };
    sync();
    connect(command, &QAction::changed, m, sync);
    connect(m, &QAction::triggered, command, [m, command] {
        // A checkable button has already flipped itself; the command decides the state.
        command->trigger();
        m->setChecked(command->isChecked());
    });
    return m;
}

QAction* CommandActions::buttonAction(std::string_view id) const {
    auto it = buttonActions_.find(id);
    return it == buttonActions_.end() ? nullptr : it->second;
}

QAction* CommandActions::action(std::string_view id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QToolBar* CommandActions::toolbar(std::string_view name) const {
    auto it = toolbars_.find(name);
    return it == toolbars_.end() ? nullptr : it->second;
}

QToolButton* CommandActions::toolButton(std::string_view id) const {
    for (QAction* a : {buttonAction(id), action(id)}) {
        if (!a) continue;
        for (const auto& [name, bar] : toolbars_)
            if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a))) return b;
    }
    return nullptr;
}

void CommandActions::updateEnabled(const contents::EnableState& state) {
    for (auto& [id, a] : actions_) a->setEnabled(contents::CommandRegistry::enabled(id, state));
}

}  // namespace tarnbook::shell
