#include "shell/DecompileDialog.h"
#include "shell/DialogButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/Paths.h"
#include "shell/QtText.h"
#include "ui/Prompts.h"

namespace tarnbook::shell {
namespace {

std::vector<std::string> droppedFiles(const QMimeData* mime) {
    std::vector<std::string> files;
    if (!mime) return files;
    for (const QUrl& u : mime->urls())
        if (u.isLocalFile()) files.push_back(corePathOf(u.toLocalFile()));
    return files;
}

}  // namespace

DecompileDialog::DecompileDialog(const std::string& outputFolder, ui::Prompts& prompts,
                                 QWidget* parent)
    : QDialog(parent), form_(outputFolder), prompts_(prompts) {
    setWindowTitle(QStringLiteral("リソース保存ディレクトリ"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("以下のディレクトリへリソースを保存します"), this));
    auto* path = new QLineEdit(this);
    path->setObjectName(QStringLiteral("EditPath"));
    path->setReadOnly(true);
    const QString native = nativeText(outputFolder);
    path->setText(native);
    path->setToolTip(native);
    path->setMinimumWidth(360);
    layout->addWidget(path);
    layout->addWidget(new QLabel(QStringLiteral("逆コンパイルするHTML Help"), this));
    auto* row = new QHBoxLayout();
    chm_ = new QLineEdit(this);
    chm_->setObjectName(QStringLiteral("Editchm"));
    chm_->setAcceptDrops(true);
    chm_->installEventFilter(this);
    row->addWidget(chm_, 1);
    auto* browse = new QToolButton(this);
    browse->setObjectName(QStringLiteral("FileOpenChm"));
    browse->setText(QStringLiteral("..."));
    row->addWidget(browse);
    layout->addLayout(row);
    auto* internal = new QCheckBox(
        QStringLiteral("内部ファイル (#SYSTEM など #, $, :: で始まるもの) も保存する"), this);
    internal->setObjectName(QStringLiteral("CBInternal"));
    connect(internal, &QCheckBox::toggled, this, [this](bool on) { form_.includeInternal = on; });
    layout->addWidget(internal);
    const DialogButtons b = addDialogButtons(this, {});
    ok_ = b.ok;
    ok_->setEnabled(false);
    layout->addWidget(b.box);
    connect(chm_, &QLineEdit::textChanged, this, &DecompileDialog::chmChanged);
    connect(browse, &QToolButton::clicked, this, [this] {
        auto file = prompts_.chooseOpenFile("HTML Help を開く",
                                            "コンパイル済みHTMLヘルプ　(*.chm)|*.chm", "");
        if (file) chm_->setText(nativeText(*file));
    });
    chm_->setFocus();
}

bool DecompileDialog::okEnabled() const {
    return ok_->isEnabled();
}

void DecompileDialog::chmChanged() {
    form_.setChmPath(corePathOf(chm_->text()));
    ok_->setEnabled(form_.okEnabled());
}

bool DecompileDialog::eventFilter(QObject* watched, QEvent* e) {
    if (watched == chm_) {
        if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
            auto* d = static_cast<QDropEvent*>(e);
            if (compile::DecompileForm::acceptsDrag(droppedFiles(d->mimeData())))
                d->acceptProposedAction();
            else
                d->ignore();
            return true;
        }
        if (e->type() == QEvent::Drop) {
            auto* d = static_cast<QDropEvent*>(e);
            if (form_.drop(droppedFiles(d->mimeData()))) {
                chm_->setText(nativeText(form_.chmPath()));
                d->acceptProposedAction();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

}  // namespace tarnbook::shell
