#pragma once
#include <string>

namespace tarnbook::ui {

// The preview: what the rest of the program relies on, nothing more.
class PreviewBrowser {
  public:
    virtual ~PreviewBrowser() = default;
    // A core path, a core path + "#" + anchor, or "about:blank".
    virtual void show(const std::string& target) = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;
    // 1 (smallest) to 4 (largest); ignored while nothing is loaded.
    virtual void setTextSize(int size) = 0;
};

}  // namespace tarnbook::ui
