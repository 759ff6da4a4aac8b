#pragma once
#include <optional>
#include <string>
#include <vector>

#include "ui/PreviewBrowser.h"
#include "ui/Prompts.h"
#include "ui/SourceEditor.h"
#include "ui/StatusDisplay.h"

// Stand-ins for the window's controls where there is no window (the CLI, benchmarks): they
// accept every call and show nothing.
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

// Answers every question with its first button and shows nothing.
class NullPrompts : public Prompts {
  public:
    Answer warn(const std::string&, Buttons) override { return Answer::Ok; }
    Answer confirm(const std::string&, Buttons) override { return Answer::Yes; }
    void showError(const std::string&) override {}
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return std::nullopt;
    }
    std::vector<std::string> chooseOpenFiles(const std::string&, const std::string&,
                                             const std::string&) override {
        return {};
    }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> inputLine(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
};

class NullStatus : public StatusDisplay {
  public:
    void setStatusText(int, const std::string&) override {}
    void setTitle(const std::string&) override {}
    void setProgress(int) override {}
    void beginProgressWindow(const std::string&, int) override {}
    void setProgressWindowPosition(int) override {}
    void endProgressWindow() override {}
    void setPageVisible(Page, bool) override {}
    void activatePage(Page) override {}
    void setProjectUiEnabled(bool) override {}
};

}  // namespace tarnbook::ui
