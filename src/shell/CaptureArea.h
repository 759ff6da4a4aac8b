#pragma once
#include <QObject>
#include <QPixmap>
#include <QPoint>

#include "shell/WindowContext.h"

namespace tarnbook::shell {

// Screen capture: while the toggle is on, Shift+Escape grabs the desktop or the active
// window into a numbered bitmap in the app folder and opens it with CaptureEx.
class CaptureArea : public QObject {
    Q_OBJECT
  public:
    explicit CaptureArea(WindowContext& context);
    void bindCommands();
    bool isOn() const { return on_; }
    // Sets the toggle (start-up from CaptureOn, and the command itself).
    void setOn(bool on);
    // Grabs, saves and opens a picture now; returns the saved file ("" on failure).
    std::string capture();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Grab {
        QPixmap picture;
        QPoint origin;  // the picture's top-left in desktop coordinates
    };
    Grab grabScreen(bool wholeDesktop);

    WindowContext& cx_;
    bool on_ = false;
    bool toldOwnWindowOnly_ = false;
};

}  // namespace tarnbook::shell
