#pragma once
#include <QPlainTextEdit>

#include "ui/SourceEditor.h"

namespace tarnbook::shell {

// The HTML source editor. Keeps the loaded bytes and hands them back unchanged until the text
// is edited, so a page that is opened and saved without edits stays byte for byte the same.
// Colouring uses extra selections: they follow the text but never touch the document, so
// they neither set the modified flag nor enter the undo history.
class TextEditor : public QPlainTextEdit, public ui::SourceEditor {
    Q_OBJECT
  public:
    explicit TextEditor(QWidget* parent = nullptr);

    void setTextBytes(const std::string& bytes) override;
    void clear() override;
    void loadRichText(const std::string& path) override;
    std::string textBytes() const override;
    std::vector<std::string> lines() const override;
    void setReadOnly(bool readOnly) override { QPlainTextEdit::setReadOnly(readOnly); }
    bool readOnly() const override { return isReadOnly(); }
    bool modified() const override;
    void setModified(bool modified) override;
    void setFont(const std::string& family, int pointSize, unsigned rgb) override;
    void setBackground(unsigned rgb) override;
    int selectionStart() const override;
    int selectionLength() const override;
    void setSelection(int start, int length) override;
    void replaceSelection(const std::string& bytes) override;
    void colourRange(int start, int length, unsigned rgb, bool bold) override;
    void resetColours() override;
    std::optional<int> find(const std::string& bytes, int from, bool matchCase,
                            bool wholeWord) const override;
    int lineFromPosition(int position) const override;
    void scrollLines(int lines) override;
    void scrollCaretIntoView() override;
    void takeFocus() override;
    void cut() override { QPlainTextEdit::cut(); }
    void copy() override { QPlainTextEdit::copy(); }
    void paste() override;
    void undo() override { QPlainTextEdit::undo(); }
    void beginUpdate() override;
    void endUpdate() override;

    // Ctrl+Shift+V pastes with line-break codes.
    std::function<void()> onPasteWithBreaks;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

  public:
    std::function<void(QContextMenuEvent*)> onContextMenu;
    // The focus entered from another control (a click or a key), not back from a popup.
    std::function<void()> onFocusEntered;

  private:
    std::string loaded_;   // the bytes as loaded; valid while !edited_
    bool edited_ = false;  // the document changed since loading
    bool loading_ = false;
    QList<QTextEdit::ExtraSelection> colours_;
    int updateDepth_ = 0;
};

}  // namespace tarnbook::shell
