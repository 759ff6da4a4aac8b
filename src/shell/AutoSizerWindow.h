#pragma once
#include <QDialog>
#include <optional>

#include "project/TemplateFields.h"

class QSplitter;
class QFrame;

namespace tarnbook::shell {

// "Auto Sizer": a window the author moves and sizes as the help window should appear, with a
// splitter for the navigation pane. The geometry is the window's own (see
// project::autoSizerWindowFromFields for how the size fields map onto it).
class AutoSizerWindow : public QDialog {
    Q_OBJECT
  public:
    AutoSizerWindow(QWidget* parent, const project::AutoSizerGeometry& window);

    // The window as it is now: position, size and the left pane's width.
    project::AutoSizerGeometry geometryNow() const;
    QSplitter* splitter() const { return splitter_; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    int requestedPane_ = 0;
    bool placed_ = false;
    QSplitter* splitter_ = nullptr;
    QFrame* pane_ = nullptr;
};

// Runs the Auto Sizer on the five size fields' values; returns the new values on OK.
std::optional<project::AutoSizerGeometry> runAutoSizer(QWidget* parent,
                                                       const project::AutoSizerGeometry& fields);

}  // namespace tarnbook::shell
