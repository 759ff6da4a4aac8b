#include "shell/UndoArea.h"

#include <QAction>
#include <QMainWindow>
#include <QWidget>

#include "shell/CommandActions.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {
constexpr const char* kUndo = "TreeUndo";
constexpr const char* kRedo = "TreeRedo";
}  // namespace

UndoArea::UndoArea(WindowContext& context, QWidget& treeView)
    : QObject(&context.window),
      cx_(context),
      treeView_(treeView),
      history_(std::make_unique<contents::UndoHistory>(context.ws)) {}

UndoArea::~UndoArea() = default;

void UndoArea::bindCommands() {
    cx_.commands.bind(kUndo, [this] { replay(false); });
    cx_.commands.bind(kRedo, [this] { replay(true); });
}

void UndoArea::replay(bool forward) {
    if (forward ? history_->redo() : history_->undo()) cx_.showSelected();
}

void UndoArea::attach(CommandActions& actions) {
    for (const char* id : {kUndo, kRedo}) {
        QAction* a = actions.action(id);
        if (!a) continue;
        // Window-wide, Ctrl+Z would take the key from the page editor.
        cx_.window.removeAction(a);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        treeView_.addAction(a);
    }
}

void UndoArea::refresh(contents::EnableState& state) {
    const int limit = cx_.ws.settings.readInteger(
        "SYSTEM", "UndoLimit", static_cast<int>(contents::UndoHistory::kDefaultLimit));
    history_->setLimit(limit > 0 ? static_cast<std::size_t>(limit) : 1);
    state.canUndo = history_->canUndo();
    state.canRedo = history_->canRedo();
    struct Caption {
        const char* id;
        const char* verb;
        const char* mnemonic;
        std::string what;
    };
    for (const Caption& c : {Caption{kUndo, "元に戻す", "(&U)", history_->undoText()},
                             Caption{kRedo, "やり直し", "(&R)", history_->redoText()}}) {
        QAction* a = cx_.action(c.id);
        if (!a) continue;
        const std::string text = c.what.empty()
                                     ? std::string(c.verb) + c.mnemonic
                                     : std::string(c.verb) + ": " + c.what + " " + c.mnemonic;
        if (a->text() != fromUtf8(text)) a->setText(fromUtf8(text));
    }
}

}  // namespace tarnbook::shell
