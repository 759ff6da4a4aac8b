#pragma once
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "ui/PreviewBrowser.h"
#include "ui/Prompts.h"
#include "ui/SourceEditor.h"
#include "ui/StatusDisplay.h"

namespace tarnbook::testing {

// Records every message and answers questions from a script (default: the first button).
class FakePrompts : public ui::Prompts {
  public:
    struct Shown {
        std::string kind;  // "warn", "confirm", "error"
        std::string text;
        ui::Buttons buttons;
    };
    std::vector<Shown> shown;
    std::deque<ui::Answer> answers;                      // consumed by warn/confirm
    std::deque<std::optional<std::string>> fileAnswers;  // consumed by the choosers and inputLine
    std::deque<std::vector<std::string>> multiFileAnswers;

    ui::Answer warn(const std::string& text, ui::Buttons buttons) override {
        return ask("warn", text, buttons);
    }
    ui::Answer confirm(const std::string& text, ui::Buttons buttons) override {
        return ask("confirm", text, buttons);
    }
    void showError(const std::string& text) override {
        shown.push_back({"error", text, ui::Buttons::Ok});
    }
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return nextFile();
    }
    std::vector<std::string> chooseOpenFiles(const std::string&, const std::string&,
                                             const std::string&) override {
        if (multiFileAnswers.empty()) return {};
        auto v = multiFileAnswers.front();
        multiFileAnswers.pop_front();
        return v;
    }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return nextFile();
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        return nextFile();
    }
    std::optional<std::string> inputLine(const std::string&, const std::string&,
                                         const std::string&) override {
        return nextFile();
    }

    bool sawText(const std::string& fragment) const {
        for (const auto& s : shown)
            if (s.text.find(fragment) != std::string::npos) return true;
        return false;
    }

  private:
    ui::Answer ask(const char* kind, const std::string& text, ui::Buttons buttons) {
        shown.push_back({kind, text, buttons});
        if (!answers.empty()) {
            auto a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (buttons) {
            case ui::Buttons::Yes:
            case ui::Buttons::YesNo:
            case ui::Buttons::YesCancel:
            case ui::Buttons::YesNoCancel:
                return ui::Answer::Yes;
            default:
                return ui::Answer::Ok;
        }
    }
    std::optional<std::string> nextFile() {
        if (fileAnswers.empty()) return std::nullopt;
        auto a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
};

class FakePreview : public ui::PreviewBrowser {
  public:
    std::vector<std::string> shown;
    int textSize = 0;
    void show(const std::string& target) override { shown.push_back(target); }
    void goBack() override {}
    void goForward() override {}
    bool canGoBack() const override { return false; }
    bool canGoForward() const override { return false; }
    void setTextSize(int size) override { textSize = size; }
    std::string last() const { return shown.empty() ? std::string() : shown.back(); }
};

// A byte-based editor: positions are byte offsets, which equals characters for ASCII text.
class FakeEditor : public ui::SourceEditor {
  public:
    std::string text;
    bool isModified = false;
    bool isReadOnly = false;
    int selStart = 0, selLength = 0;
    std::string richTextPath;
    struct Colour {
        int start, length;
        unsigned rgb;
        bool bold;
    };
    std::vector<Colour> colours;

    void setTextBytes(const std::string& bytes) override {
        text = bytes;
        isModified = false;
        richTextPath.clear();
    }
    void clear() override { text.clear(); }
    void loadRichText(const std::string& path) override {
        richTextPath = path;
        text = platform::readFile(path);
        isModified = false;
    }
    std::string textBytes() const override { return text; }
    std::vector<std::string> lines() const override { return platform::splitLines(text); }
    void setReadOnly(bool ro) override { isReadOnly = ro; }
    bool readOnly() const override { return isReadOnly; }
    bool modified() const override { return isModified; }
    void setModified(bool m) override { isModified = m; }
    std::string fontFamily;
    int fontSize = 0;
    unsigned fontRgb = 0, backgroundRgb = 0;
    void setFont(const std::string& family, int size, unsigned rgb) override {
        fontFamily = family;
        fontSize = size;
        fontRgb = rgb;
    }
    void setBackground(unsigned rgb) override { backgroundRgb = rgb; }
    int selectionStart() const override { return selStart; }
    int selectionLength() const override { return selLength; }
    void setSelection(int start, int length) override {
        selStart = start;
        selLength = length;
    }
    void replaceSelection(const std::string& bytes) override {
        text.replace(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selLength),
                     bytes);
        selStart += static_cast<int>(bytes.size());
        selLength = 0;
        isModified = true;
    }
    void colourRange(int start, int length, unsigned rgb, bool bold) override {
        colours.push_back({start, length, rgb, bold});
    }
    void resetColours() override { colours.clear(); }
    std::optional<int> find(const std::string& bytes, int from, bool, bool) const override {
        auto p = text.find(bytes, static_cast<std::size_t>(from));
        if (p == std::string::npos) return std::nullopt;
        return static_cast<int>(p);
    }
    int lineFromPosition(int position) const override {
        int line = 0;
        for (int i = 0; i < position && i < static_cast<int>(text.size()); ++i)
            if (text[static_cast<std::size_t>(i)] == '\n') ++line;
        return line;
    }
    void scrollLines(int) override {}
    void scrollCaretIntoView() override {}
    void takeFocus() override {}
    void cut() override {}
    void copy() override {}
    void paste() override {}
    void undo() override {}
    void beginUpdate() override {}
    void endUpdate() override {}
};

class FakeStatus : public ui::StatusDisplay {
  public:
    std::map<int, std::string> panes;
    std::string title;
    int progress = 0;
    int progressWindows = 0;  // currently open
    int progressMaximum = -1;
    std::map<ui::Page, bool> pageVisible;
    ui::Page activePage = ui::Page::Preview;
    bool projectUi = false;

    void setStatusText(int pane, const std::string& text) override { panes[pane] = text; }
    void setTitle(const std::string& t) override { title = t; }
    void setProgress(int percent) override { progress = percent; }
    void beginProgressWindow(const std::string&, int maximum) override {
        ++progressWindows;
        progressMaximum = maximum;
    }
    void setProgressWindowPosition(int) override {}
    void endProgressWindow() override { --progressWindows; }
    void setPageVisible(ui::Page page, bool visible) override { pageVisible[page] = visible; }
    void activatePage(ui::Page page) override { activePage = page; }
    void setProjectUiEnabled(bool enabled) override { projectUi = enabled; }
};

}  // namespace tarnbook::testing
