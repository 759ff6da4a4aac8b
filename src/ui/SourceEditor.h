#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tarnbook::ui {

// The HTML source editor. Text crosses this interface as CP932 bytes; positions are in
// characters (UTF-16 code units of the decoded text), as a text widget counts them.
class SourceEditor {
  public:
    virtual ~SourceEditor() = default;

    // Shows the bytes unchanged, one editor line per file line; clears the modified flag.
    virtual void setTextBytes(const std::string& bytes) = 0;
    virtual void clear() = 0;
    // Loads a file as formatted rich text (pages with the extension ".RTF").
    virtual void loadRichText(const std::string& path) = 0;

    virtual std::string textBytes() const = 0;
    virtual std::vector<std::string> lines() const = 0;

    virtual void setReadOnly(bool readOnly) = 0;
    virtual bool readOnly() const = 0;

    // Set by every edit; cleared on loading and saving; never changed by colouring.
    virtual bool modified() const = 0;
    virtual void setModified(bool modified) = 0;

    virtual void setFont(const std::string& family, int pointSize, unsigned rgb) = 0;
    virtual void setBackground(unsigned rgb) = 0;

    virtual int selectionStart() const = 0;
    virtual int selectionLength() const = 0;
    virtual void setSelection(int start, int length) = 0;
    // Replaces the selection (or inserts at the caret) with CP932 text.
    virtual void replaceSelection(const std::string& bytes) = 0;

    virtual void colourRange(int start, int length, unsigned rgb, bool bold) = 0;
    virtual void resetColours() = 0;

    virtual std::optional<int> find(const std::string& bytes, int from, bool matchCase,
                                    bool wholeWord) const = 0;
    virtual int lineFromPosition(int position) const = 0;
    virtual void scrollLines(int lines) = 0;
    virtual void scrollCaretIntoView() = 0;
    virtual void takeFocus() = 0;

    virtual void cut() = 0;
    virtual void copy() = 0;
    virtual void paste() = 0;
    virtual void undo() = 0;

    virtual void beginUpdate() = 0;
    virtual void endUpdate() = 0;
};

}  // namespace tarnbook::ui
