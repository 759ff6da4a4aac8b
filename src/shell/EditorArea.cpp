#include "shell/EditorArea.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "authoring/CustomTags.h"
#include "authoring/EditorPage.h"
#include "authoring/tags/NodeAnchor.h"
#include "authoring/tags/TagCommandList.h"
#include "contents/CommandTable.h"
#include "project/Settings.h"
#include "shell/HelpService.h"
#include "shell/QtText.h"
#include "shell/TagCommands.h"
#include "shell/TextEditor.h"
#include "shell/WebPreview.h"

namespace tarnbook::shell {

EditorArea::EditorArea(WindowContext& context, TextEditor& editor, WebPreview& preview)
    : QObject(&editor),
      cx_(context),
      editor_(editor),
      preview_(preview),
      previewTextSize_(project::kDefaultPreviewTextSize) {
    editor_.onContextMenu = [this](QContextMenuEvent* e) { showContextMenu(e); };
    editor_.onPasteWithBreaks = [this] { cx_.run("ActEditPasteAdd"); };
    editor_.onFocusEntered = [this] { focusEntered(); };
}

EditorArea::~EditorArea() = default;

void EditorArea::editFocused(const char* slot) {
    // Shortcuts are window-wide: only a text field with the focus takes them, never the page
    // editor while the author works in the tree.
    QWidget* w = QApplication::focusWidget();
    if (!w) return;
    if (w == &editor_) {
        if (qstrcmp(slot, "cut") == 0 && !editor_.isReadOnly()) editor_.cut();
        if (qstrcmp(slot, "copy") == 0) editor_.copy();
        if (qstrcmp(slot, "paste") == 0) editor_.paste();
        return;
    }
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
        qobject_cast<QTextEdit*>(w))
        QMetaObject::invokeMethod(w, slot);
}

void EditorArea::bindCommands() {
    auto& ws = cx_.ws;
    auto& c = cx_.commands;
    c.bind("TagSave", [this, &ws] { authoring::tagSave(ws, [this] { cx_.showSelected(); }); });
    c.bind("TagUndo", [this] { editor_.undo(); });
    c.bind("EditCut1", [this] { editFocused("cut"); });
    c.bind("EditCopy1", [this] { editFocused("copy"); });
    c.bind("EditPaste1", [this] { editFocused("paste"); });
    c.bind("ActEditPasteAdd", [this] {
        const QString t = QApplication::clipboard()->text();
        if (t.isEmpty() || editor_.isReadOnly()) return;
        editor_.replaceSelection(authoring::pasteBytes(utf16Of(t), true));
    });
    c.bind("ViewRedraw", [this, &ws] {
        ws.currentPage.clear();
        cx_.showSelected();
    });
    c.bind("NavigateBack", [this] {
        cx_.ws.status.activatePage(ui::Page::Preview);
        preview_.goBack();
    });
    c.bind("NavigateNext", [this] {
        cx_.ws.status.activatePage(ui::Page::Preview);
        preview_.goForward();
    });
    c.bind("FontSize", [] {});  // the drop-down entries carry the size
    // The tag commands of the editor page, each with its dialog.
    for (const contents::Command& command : contents::commandTable())
        if (TagCommands::handles(command.id)) {
            const std::string id(command.id);
            // Made per run: the help file is known only after start-up.
            c.bind(id, [this, id] {
                TagCommands(&cx_.window, cx_.ws, cx_.help.topicOpener()).run(id);
            });
        }
}

void EditorArea::attachFontSizeMenu(QAction* fontSize) {
    if (!fontSize) return;
    auto* menu = new QMenu(&editor_);
    for (int k = 1; k <= 4; ++k) {
        QAction* e = menu->addAction(QString::number(k));
        e->setCheckable(true);
        e->setChecked(k == authoring::basePreviewTextSize(cx_.ws));
        connect(e, &QAction::triggered, this, [this, k] { setPreviewTextSize(k); });
        fontSizeActions_.push_back(e);
    }
    fontSize->setMenu(menu);
}

void EditorArea::setPreviewTextSize(int size) {
    cx_.guarded([&] { authoring::setPreviewTextSize(cx_.ws, size); });
    previewTextSize_ = size;
    checkTextSizeItem(size);
}

void EditorArea::restoreTextSize(int size, int item) {
    previewTextSize_ = size;
    checkTextSizeItem(item);
}

void EditorArea::checkTextSizeItem(int item) {
    for (int i = 0; i < static_cast<int>(fontSizeActions_.size()); ++i)
        fontSizeActions_[static_cast<std::size_t>(i)]->setChecked(i + 1 == item);
}

void EditorArea::showContextMenu(QContextMenuEvent* e) {
    QMenu menu(&editor_);
    buildContextMenu(menu);
    menu.exec(e->globalPos());
}

void EditorArea::buildContextMenu(QMenu& menu) {
    QMenu* objectTags = menu.addMenu(QStringLiteral("オブジェクトタグ(&T)"));
    for (std::string_view id : authoring::editorTagSubmenu()) {
        if (id == "|")
            objectTags->addSeparator();
        else if (QAction* a = cx_.action(id))
            objectTags->addAction(a);
    }
    QMenu* custom = menu.addMenu(QStringLiteral("カスタムタグ(&S)"));
    const auto tags =
        authoring::loadCustomTags(cx_.ws.settings.readString("SYSTEM", "CustomTag", ""));
    auto addTag = [this](QMenu* m, const authoring::CustomTag& t) {
        QAction* a = m->addAction(fromCp932(t.caption));
        const std::string tag = t.tag;
        connect(a, &QAction::triggered, this,
                [this, tag] { cx_.guarded([&] { editor_.replaceSelection(tag); }); });
    };
    for (const auto& g : tags.groups) {
        QMenu* sub = custom->addMenu(fromCp932(g.caption));
        for (const auto& t : g.tags) addTag(sub, t);
    }
    for (const auto& t : tags.loose) addTag(custom, t);
    menu.addSeparator();
    for (const char* id : {"EditCopy1", "EditPaste1", "ActEditPasteAdd", "EditCut1", "TagUndo"})
        if (QAction* a = cx_.action(id)) menu.addAction(a);
    menu.addSeparator();
    QAction* help = menu.addAction(QStringLiteral("ヘルプ(&H)"));
    help->setEnabled(cx_.help.available());
    connect(help, &QAction::triggered, this, [this] { cx_.help.showTopic(kObjectTagHelpTopic); });
}

void EditorArea::focusEntered() {
    // Entering the editor puts the caret at the node's anchor, unless a selection (the
    // anchor selected on switching to this page) is already there.
    const project::TreeNode* n = cx_.ws.tree.focused();
    if (!n || n->data.Anchor.empty() || editor_.selectionLength() > 0) return;
    authoring::caretToNodeAnchor(editor_, n->data.Anchor);
}

}  // namespace tarnbook::shell
