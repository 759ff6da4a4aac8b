#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "shell/WindowContext.h"

class QAction;
class QContextMenuEvent;
class QMenu;

namespace tarnbook::shell {

class TextEditor;
class WebPreview;

// The page editor and the preview: the editing commands (which act on the widget that has
// the focus), saving the page, the editor's context menu, and the browser commands.
class EditorArea : public QObject {
    Q_OBJECT
  public:
    EditorArea(WindowContext& context, TextEditor& editor, WebPreview& preview);
    ~EditorArea() override;

    void bindCommands();
    // After the actions exist: the font-size drop-down.
    void attachFontSizeMenu(QAction* fontSize);
    void setPreviewTextSize(int size);
    // The size read at start-up and the drop-down entry to check (0: none), applied as is.
    void restoreTextSize(int size, int item);
    int previewTextSize() const { return previewTextSize_; }
    void checkTextSizeItem(int item);
    // Fills the editor's context menu (it is built afresh each time it opens).
    void buildContextMenu(QMenu& menu);

    // The help topic of the editor's context menu.
    static constexpr int kObjectTagHelpTopic = 60;

  private:
    void showContextMenu(QContextMenuEvent* e);
    void focusEntered();
    // Cut, copy or paste in the focused text widget; nothing when none has the focus.
    void editFocused(const char* slot);

    WindowContext& cx_;
    TextEditor& editor_;
    WebPreview& preview_;
    std::vector<QAction*> fontSizeActions_;
    int previewTextSize_;
};

}  // namespace tarnbook::shell
