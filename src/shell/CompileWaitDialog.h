#pragma once
#include <QDialog>
#include <QTimer>

#include "platform/Process.h"

namespace tarnbook::shell {

// The borderless "コンパイル中.. " window shown while the help compiler runs. It closes itself
// when the process ends; it has no cancel button.
class CompileWaitDialog : public QDialog {
    Q_OBJECT
  public:
    CompileWaitDialog(platform::ChildProcess& compiler, QWidget* parent);

    // False when asking after the process failed (the window then closed with an error).
    bool waitFailed() const { return failed_; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void poll();
    platform::ChildProcess& compiler_;
    QTimer timer_;
    bool failed_ = false;
};

}  // namespace tarnbook::shell
