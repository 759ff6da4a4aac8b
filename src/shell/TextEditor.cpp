#include "shell/TextEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFocusEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>

#include "authoring/EditorPage.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::shell {
namespace {

QString fromCp932(std::string_view bytes) {
    const std::u16string u = platform::decodeCp932(bytes);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

std::string toCp932(const QString& s) {
    return platform::encodeCp932(
        std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), s.size()));
}

QColor rgbColour(unsigned rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

TextEditor::TextEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTabChangesFocus(false);
    setReadOnly(true);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!loading_ && (removed || added)) edited_ = true;
    });
}

void TextEditor::setTextBytes(const std::string& bytes) {
    loading_ = true;
    loaded_ = bytes;
    // One editor line per file line, whatever the line end.
    const std::vector<std::string> ls = platform::splitLines(bytes);
    QString text;
    for (std::size_t i = 0; i < ls.size(); ++i) {
        if (i) text += QLatin1Char('\n');
        text += fromCp932(ls[i]);
    }
    if (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) text += QLatin1Char('\n');
    colours_.clear();
    setExtraSelections({});
    setPlainText(text);
    loading_ = false;
    edited_ = false;
    document()->setModified(false);
}

void TextEditor::clear() {
    setTextBytes({});
}

void TextEditor::loadRichText(const std::string& path) {
    loading_ = true;
    const std::string bytes = platform::readFile(path);
    // The widget shows plain text; a rich-text page is shown as its source.
    setPlainText(fromCp932(bytes));
    loaded_ = bytes;
    loading_ = false;
    edited_ = false;
    document()->setModified(false);
}

std::string TextEditor::textBytes() const {
    if (!edited_) return loaded_;
    return platform::joinLinesCrLf(lines());
}

std::vector<std::string> TextEditor::lines() const {
    if (!edited_) return platform::splitLines(loaded_);
    std::vector<std::string> out;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        out.push_back(toCp932(b.text()));
    // A final line end gives no empty last line, as with the loaded file.
    if (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

bool TextEditor::modified() const {
    return document()->isModified();
}

void TextEditor::setModified(bool modified) {
    document()->setModified(modified);
}

void TextEditor::setFont(const std::string& family, int pointSize, unsigned rgb) {
    const bool was = modified();
    QFont f(QString::fromStdString(platform::cp932ToUtf8(family)), pointSize > 0 ? pointSize : 9);
    f.setStyleHint(QFont::TypeWriter);
    QPlainTextEdit::setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::Text, rgbColour(rgb));
    setPalette(p);
    setModified(was);
}

void TextEditor::setBackground(unsigned rgb) {
    const bool was = modified();
    QPalette p = palette();
    p.setColor(QPalette::Base, rgbColour(rgb));
    setPalette(p);
    setModified(was);
}

int TextEditor::selectionStart() const {
    return textCursor().selectionStart();
}

int TextEditor::selectionLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TextEditor::setSelection(int start, int length) {
    QTextCursor c(document());
    const int end = document()->characterCount() - 1;
    c.setPosition(std::clamp(start, 0, end));
    c.setPosition(std::clamp(start + length, 0, end), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TextEditor::replaceSelection(const std::string& bytes) {
    QString t = fromCp932(bytes);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    textCursor().insertText(t);
}

void TextEditor::colourRange(int start, int length, unsigned rgb, bool bold) {
    QTextEdit::ExtraSelection sel;
    sel.cursor = QTextCursor(document());
    const int end = document()->characterCount() - 1;
    sel.cursor.setPosition(std::clamp(start, 0, end));
    sel.cursor.setPosition(std::clamp(start + length, 0, end), QTextCursor::KeepAnchor);
    sel.format.setForeground(rgbColour(rgb));
    if (bold) sel.format.setFontWeight(QFont::Bold);
    colours_.append(sel);
    if (updateDepth_ == 0) setExtraSelections(colours_);
}

void TextEditor::resetColours() {
    colours_.clear();
    if (updateDepth_ == 0) setExtraSelections({});
}

std::optional<int> TextEditor::find(const std::string& bytes, int from, bool matchCase,
                                    bool wholeWord) const {
    QTextDocument::FindFlags flags;
    if (matchCase) flags |= QTextDocument::FindCaseSensitively;
    if (wholeWord) flags |= QTextDocument::FindWholeWords;
    const QTextCursor hit = document()->find(fromCp932(bytes), from, flags);
    if (hit.isNull()) return std::nullopt;
    return hit.selectionStart();
}

int TextEditor::lineFromPosition(int position) const {
    return document()->findBlock(position).blockNumber();
}

void TextEditor::scrollLines(int lines) {
    verticalScrollBar()->setValue(verticalScrollBar()->value() + lines);
}

void TextEditor::scrollCaretIntoView() {
    ensureCursorVisible();
}

void TextEditor::takeFocus() {
    setFocus(Qt::OtherFocusReason);
}

void TextEditor::paste() {
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty() || isReadOnly()) return;
    replaceSelection(authoring::pasteBytes(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()), false));
}

void TextEditor::beginUpdate() {
    if (updateDepth_++ == 0) setUpdatesEnabled(false);
}

void TextEditor::endUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0) {
        setExtraSelections(colours_);
        setUpdatesEnabled(true);
    }
}

void TextEditor::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_V && e->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (onPasteWithBreaks) onPasteWithBreaks();
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        if (!isReadOnly()) paste();
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TextEditor::contextMenuEvent(QContextMenuEvent* e) {
    if (onContextMenu)
        onContextMenu(e);
    else
        QPlainTextEdit::contextMenuEvent(e);
}

void TextEditor::focusInEvent(QFocusEvent* e) {
    QPlainTextEdit::focusInEvent(e);
    // Coming back from a menu, a dialog or another window is no entering.
    const Qt::FocusReason r = e->reason();
    if (onFocusEntered && r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason)
        onFocusEntered();
}

}  // namespace tarnbook::shell
