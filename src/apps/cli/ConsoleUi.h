#pragma once
#include <cstdio>
#include <string>

#include "ui/NullControls.h"
#include "ui/Prompts.h"
#include "ui/StatusDisplay.h"

// Headless stand-ins for the window's controls: messages go to stderr, questions take the
// answer given up front (the CLI never waits for a person).
class ConsolePrompts : public tarnbook::ui::NullPrompts {
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

  private:
    tarnbook::ui::Answer answer_;
};

// Progress goes to stderr as a bar when stderr is a terminal and --quiet was not given;
// scripts and logs get nothing.
void setConsoleProgressWanted(bool wanted);
bool consoleProgressShown();

class ConsoleStatus : public tarnbook::ui::StatusDisplay {
  public:
    void setStatusText(int, const std::string&) override {}
    void setTitle(const std::string&) override {}
    void setProgress(int percent) override;
    void beginProgressWindow(const std::string& caption, int maximum) override;
    void setProgressWindowPosition(int position) override;
    void endProgressWindow() override;  // also ends a bar left short of 100%
    void setPageVisible(tarnbook::ui::Page, bool) override {}
    void activatePage(tarnbook::ui::Page) override {}
    void setProjectUiEnabled(bool) override {}

  private:
    void draw(int percent);
    std::string caption_;
    int maximum_ = 0;
    int lastDrawn_ = -1;
};
