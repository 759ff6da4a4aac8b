#include "shell/TreeContextMenu.h"

#include <array>

#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {

struct Entry {
    const char* id;
    const char* caption;  // UTF-8
};

constexpr std::array<Entry, 8> kEntries = {{
    {"NodeExpand", "ノードを開く/閉じる"},
    {"TbAddHeader", "ヘッダ追加(&H)"},
    {"TbAddContent", "コンテンツ追加（&C)"},
    {"TbCngProperty", "プロパティ(&P)"},
    {"EditHTML", "外部エディタ(&E)"},
    {"TbDelItem", "コンテンツ削除(&D)"},
    {"TBSortItem", "ノードのソート(&S)"},
    {"ViewRedraw", "更新(&R)"},
}};

}  // namespace

TreeContextMenu::TreeContextMenu(WindowContext& context, QWidget* parent)
    : QMenu(parent), cx_(context) {
    setObjectName(QStringLiteral("PopupMenuTreeView"));
    for (const Entry& e : kEntries) {
        QAction* a = addAction(fromUtf8(e.caption));
        a->setObjectName(fromUtf8(e.id));
        const std::string id = e.id;
        entries_.emplace_back(id, a);
        connect(a, &QAction::triggered, this, [this, id] { cx_.run(id); });
    }
    connect(this, &QMenu::aboutToShow, this, &TreeContextMenu::followCommands);
}

QAction* TreeContextMenu::entry(std::string_view id) const {
    for (const auto& [entryId, a] : entries_)
        if (entryId == id) return a;
    return nullptr;
}

void TreeContextMenu::followCommands() {
    for (const auto& [id, a] : entries_) {
        const QAction* command = cx_.action(id);
        a->setEnabled(command && command->isEnabled());
    }
}

}  // namespace tarnbook::shell
