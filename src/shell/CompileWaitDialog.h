#pragma once
#include <QDialog>
#include <QTimer>
#include <chrono>

#include "platform/Process.h"

namespace tarnbook::shell {

// The borderless "コンパイル中.. " window shown while the help compiler runs. It closes itself
// when the process ends; it has no cancel button.
class CompileWaitDialog : public QDialog {
    Q_OBJECT
  public:
    // The window closes itself when `limit` has passed without the process ending.
    CompileWaitDialog(platform::ChildProcess& compiler, std::chrono::seconds limit,
                      QWidget* parent);

    // True when asking after the process failed or it outran its limit (the window then
    // closed with a rejection).
    bool waitFailed() const { return failed_; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void poll();
    platform::ChildProcess& compiler_;
    QTimer timer_;
    std::chrono::steady_clock::time_point deadline_;
    bool failed_ = false;
};

}  // namespace tarnbook::shell
