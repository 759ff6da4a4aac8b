#include "shell/CompileWaitDialog.h"

#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>
#include <exception>

namespace tarnbook::shell {

CompileWaitDialog::CompileWaitDialog(platform::ChildProcess& compiler, std::chrono::seconds limit,
                                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      compiler_(compiler),
      deadline_(std::chrono::steady_clock::now() + limit) {
    setObjectName(QStringLiteral("CompileWait"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    auto* label = new QLabel(QStringLiteral("コンパイル中.. "), this);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    setStyleSheet(QStringLiteral("QDialog#CompileWait { border: 1px solid palette(dark); }"));
    setCursor(Qt::WaitCursor);
    setFixedSize(220, 64);
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &CompileWaitDialog::poll);
}

void CompileWaitDialog::showEvent(QShowEvent* e) {
    if (parentWidget()) {
        const QRect p = parentWidget()->frameGeometry();
        move(p.center() - rect().center());
    }
    timer_.start();
    QDialog::showEvent(e);
}

void CompileWaitDialog::poll() {
    if (!timer_.isActive()) return;
    try {
        if (compiler_.running()) {
            if (std::chrono::steady_clock::now() < deadline_) return;
            timer_.stop();
            failed_ = true;
            reject();
            return;
        }
        timer_.stop();
        accept();
    } catch (const std::exception&) {
        timer_.stop();
        failed_ = true;
        reject();
    }
}

}  // namespace tarnbook::shell
