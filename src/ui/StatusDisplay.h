#pragma once
#include <string>

namespace tarnbook::ui {

// The tab pages of the main window's right side.
enum class Page { Preview, Editor, Resources };

// Window state the core sets: status panes, title, progress, which pages show.
class StatusDisplay {
  public:
    virtual ~StatusDisplay() = default;

    // Pane 0: hints and messages; 1: the node count; 2: "未保存"/"保存済み"; 3: memory.
    virtual void setStatusText(int pane, const std::string& text) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setProgress(int percent) = 0;

    // A small progress window for long reads (shown without waiting).
    virtual void beginProgressWindow(const std::string& caption, int maximum) = 0;
    virtual void setProgressWindowPosition(int position) = 0;
    virtual void endProgressWindow() = 0;

    virtual void setPageVisible(Page page, bool visible) = 0;
    virtual void activatePage(Page page) = 0;
    // Shows or hides what needs an open project (contents toolbar, Workshop import, ...).
    virtual void setProjectUiEnabled(bool enabled) = 0;
};

}  // namespace tarnbook::ui
