#pragma once
#include <cstdio>
#include <string>

#include "ui/PreviewBrowser.h"
#include "ui/Prompts.h"
#include "ui/SourceEditor.h"
#include "ui/StatusDisplay.h"

// Headless stand-ins for the window's controls: messages go to stderr, questions take the
// answer given up front (the CLI never waits for a person).
class ConsolePrompts : public tarnbook::ui::Prompts {
  public:
    explicit ConsolePrompts(tarnbook::ui::Answer answer = tarnbook::ui::Answer::Yes)
        : answer_(answer) {}
    tarnbook::ui::Answer warn(const std::string& text, tarnbook::ui::Buttons) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return tarnbook::ui::Answer::Ok;
    }
    tarnbook::ui::Answer confirm(const std::string& text, tarnbook::ui::Buttons buttons) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        if (buttons == tarnbook::ui::Buttons::Ok || buttons == tarnbook::ui::Buttons::OkCancel)
            return answer_ == tarnbook::ui::Answer::Yes ? tarnbook::ui::Answer::Ok
                                                        : tarnbook::ui::Answer::Cancel;
        return answer_;
    }
    void showError(const std::string& text) override {
        std::fprintf(stderr, "error: %s\n", text.c_str());
    }
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

  private:
    tarnbook::ui::Answer answer_;
};

class NullPreview : public tarnbook::ui::PreviewBrowser {
  public:
    void show(const std::string&) override {}
    void goBack() override {}
    void goForward() override {}
    bool canGoBack() const override { return false; }
    bool canGoForward() const override { return false; }
    void setTextSize(int) override {}
};

class NullEditor : public tarnbook::ui::SourceEditor {
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

// Progress goes to stderr as a bar when stderr is a terminal.
class ConsoleStatus : public tarnbook::ui::StatusDisplay {
  public:
    void setStatusText(int, const std::string&) override {}
    void setTitle(const std::string&) override {}
    void setProgress(int percent) override;
    void beginProgressWindow(const std::string& caption, int maximum) override;
    void setProgressWindowPosition(int position) override;
    void endProgressWindow() override;
    void setPageVisible(tarnbook::ui::Page, bool) override {}
    void activatePage(tarnbook::ui::Page) override {}
    void setProjectUiEnabled(bool) override {}

  private:
    void draw(int percent);
    std::string caption_;
    int maximum_ = 0;
    int lastDrawn_ = -1;
};
