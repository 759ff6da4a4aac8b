#include "shell/AutoSizerWindow.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace tarnbook::shell {

AutoSizerWindow::AutoSizerWindow(QWidget* parent, const project::AutoSizerGeometry& window)
    : QDialog(parent) {
    setObjectName("TfrmAutoSizer");
    setWindowTitle(QStringLiteral("Auto Sizer"));
    setSizeGripEnabled(true);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("Splitter1");
    splitter_->setChildrenCollapsible(false);
    pane_ = new QFrame(splitter_);
    pane_->setObjectName("PanelLeft");
    pane_->setFrameShape(QFrame::StyledPanel);
    pane_->setMinimumWidth(1);
    auto* paneLayout = new QVBoxLayout(pane_);
    auto* paneLabel = new QLabel(QString::fromUtf8("ナビゲーション"), pane_);
    paneLabel->setMinimumWidth(1);
    paneLayout->addWidget(paneLabel);
    paneLayout->addStretch();

    auto* topic = new QFrame(splitter_);
    topic->setMinimumWidth(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), topic);
    ok->setObjectName("BitBtnOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), topic);
    cancel->setObjectName("BitBtnCancel");
    auto* topicLayout = new QVBoxLayout(topic);
    topicLayout->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    topicLayout->addLayout(buttons);
    splitter_->addWidget(pane_);
    splitter_->addWidget(topic);
    splitter_->setStretchFactor(1, 1);

    // The splitter fills the window, so the pane's width is what the help window's pane gets.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
    setMinimumSize(1, 1);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    move(window.left, window.top);
    resize(window.width, window.height);
    requestedPane_ = window.paneWidth;
}

void AutoSizerWindow::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // The pane gets its width once the splitter has its final size; sizes given earlier
    // would be rescaled by the first layout.
    if (placed_) return;
    placed_ = true;
    const int rest = splitter_->width() - requestedPane_ - splitter_->handleWidth();
    splitter_->setSizes({requestedPane_, rest > 1 ? rest : 1});
}

project::AutoSizerGeometry AutoSizerWindow::geometryNow() const {
    return {pos().x(), pos().y(), width(), height(), splitter_->sizes().value(0)};
}

std::optional<project::AutoSizerGeometry> runAutoSizer(QWidget* parent,
                                                       const project::AutoSizerGeometry& fields) {
    AutoSizerWindow window(parent,
                           project::autoSizerWindowFromFields(fields.left, fields.top, fields.width,
                                                              fields.height, fields.paneWidth));
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    return project::fieldsFromAutoSizerWindow(window.geometryNow());
}

}  // namespace tarnbook::shell
