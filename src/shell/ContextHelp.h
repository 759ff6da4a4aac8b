#pragma once
#include <QObject>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QWidget;

// Context help of the dialogs' controls: F1 on a control, or a click in "what's this" mode
// (Shift+F1), shows the control's text popup from the manual beside it. The main window
// keeps one instance; without it, or without a popup, F1 falls back to the dialog's topic.
namespace tarnbook::shell {

class ContextHelp : public QObject {
  public:
    // A popup's text (UTF-8) by its number; nullopt when the manual has none.
    using PopupSource = std::function<std::optional<std::string>(std::uint32_t id)>;

    // Becomes the application's one context help and watches its "what's this" requests.
    explicit ContextHelp(PopupSource source);
    ~ContextHelp() override;

    static ContextHelp* current();

    // The popup of `control`, or of its nearest ancestor with one inside its window, shown
    // at `at` (global); false when there is none.
    bool showFor(QWidget* control, QPoint at);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<std::uint32_t> popupOf(QWidget* control) const;

    PopupSource source_;
};

// F1 in `dialog`: shows the focused control's popup below it; false when the program has no
// context help or the control no popup (the caller then opens the dialog's topic).
bool showFocusedControlPopup(QWidget* dialog);

}  // namespace tarnbook::shell
