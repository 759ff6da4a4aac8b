#pragma once
#include <optional>
#include <string>
#include <vector>

#include "ui/PreviewBrowser.h"
#include "ui/SourceEditor.h"

// Stand-ins for the window's preview and editor where there is no window (the CLI, benchmarks):
// they accept every call and show nothing.
namespace tarnbook::ui {

class NullPreview : public PreviewBrowser {
  public:
    void show(const std::string&) override {}
    void goBack() override {}
    void goForward() override {}
    bool canGoBack() const override { return false; }
    bool canGoForward() const override { return false; }
    void setTextSize(int) override {}
};

class NullEditor : public SourceEditor {
  public:
    void setTextBytes(const std::string& bytes) override { text_ = bytes; }
    void clear() override { text_.clear(); }
    void loadRichText(const std::string&) override {}
    std::string textBytes() const override { return text_; }
    std::vector<std::string> lines() const override { return {}; }
    void setReadOnly(bool) override {}
    bool readOnly() const override { return true; }
    bool modified() const override { return false; }
    void setModified(bool) override {}
    void setFont(const std::string&, int, unsigned) override {}
    void setBackground(unsigned) override {}
    int selectionStart() const override { return 0; }
    int selectionLength() const override { return 0; }
    void setSelection(int, int) override {}
    void replaceSelection(const std::string&) override {}
    void colourRange(int, int, unsigned, bool) override {}
    void resetColours() override {}
    std::optional<int> find(const std::string&, int, bool, bool) const override {
        return std::nullopt;
    }
    int lineFromPosition(int) const override { return 0; }
    void scrollLines(int) override {}
    void scrollCaretIntoView() override {}
    void takeFocus() override {}
    void cut() override {}
    void copy() override {}
    void paste() override {}
    void undo() override {}
    void beginUpdate() override {}
    void endUpdate() override {}

  private:
    std::string text_;
};

}  // namespace tarnbook::ui
