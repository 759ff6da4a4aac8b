#include "shell/MaintenanceWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "shell/DialogButtons.h"
#include "ui/Prompts.h"

namespace tarnbook::shell {
namespace {

constexpr int kIconRole = Qt::UserRole;
constexpr int kHelpTopic = 40;

QString fromCp932(const std::string& s) {
    return QString::fromStdString(platform::cp932ToUtf8(s));
}

QIcon iconFor(int icon) {
    QStyle* style = QApplication::style();
    switch (icon) {
        case maintenance::kIconUnused:
            return style->standardIcon(QStyle::SP_TrashIcon);
        case maintenance::kIconExternal:
            return style->standardIcon(QStyle::SP_DriveNetIcon);
        case maintenance::kIconPage:
            return style->standardIcon(QStyle::SP_FileDialogDetailedView);
        default:
            return style->standardIcon(QStyle::SP_FileIcon);
    }
}

// The small borderless window with the blinking phase text, on top and centred on the screen.
class PhaseWindow : public QWidget {
  public:
    PhaseWindow()
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
        setObjectName(QStringLiteral("TfrmAnalizePrjNow"));
        auto* layout = new QVBoxLayout(this);
        label_ = new QLabel(this);
        label_->setObjectName(QStringLiteral("PhaseLabel"));
        layout->addWidget(label_);
        connect(&blink_, &QTimer::timeout, this, [this] {
            on_ = !on_;
            label_->setStyleSheet(on_ ? QStringLiteral("color: red") : QString());
        });
        blink_.start(400);
    }
    void setPhase(maintenance::Phase phase) {
        label_->setText(QString::fromStdString(maintenance::MaintenanceForm::phaseText(phase)));
        adjustSize();
        if (QScreen* screen = QApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
        show();
        raise();
    }

  private:
    QLabel* label_ = nullptr;
    QTimer blink_;
    bool on_ = false;
};

}  // namespace

MaintenanceWindow::MaintenanceWindow(maintenance::AnalysisInput input, std::string dustFolder,
                                     ui::Prompts& prompts, std::function<void(int)> help,
                                     std::function<void(const std::string&)> openFolder,
                                     QWidget* parent)
    : QDialog(parent),
      form_(std::move(input), std::move(dustFolder)),
      prompts_(prompts),
      openFolder_(std::move(openFolder)) {
    setObjectName(QStringLiteral("TfrmMaintenance"));
    setWindowTitle(QStringLiteral("プロジェクトメンテナンス"));
    auto* layout = new QVBoxLayout(this);

    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("Panel2"));
    auto* grid = new QGridLayout(panel_);
    grid->setContentsMargins(0, 0, 0, 0);
    auto addButton = [&](int row, int column, QAction* a) {
        auto* b = new QToolButton(panel_);
        b->setObjectName(a->objectName() + QStringLiteral("Button"));  // for its context help
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(b, row, column);
    };
    auto addCounter = [&](int row, const char* name) {
        auto* l = new QLabel(QStringLiteral("0"), panel_);
        l->setObjectName(QString::fromUtf8(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(l, row, 1);
    };
    connect(
        addAction(panel_, "Analize", "プロジェクト解析", "プロジェクト内のHTMLタグを解析します"),
        &QAction::triggered, this, &MaintenanceWindow::analyze);
    addButton(0, 0, &action("Analize"));
    connect(addAction(panel_, "Erace", "未使用ﾌｧｲﾙ移動",
                      "使用していないリソースをプロジェクトディレクトリの外へ移動します"),
            &QAction::triggered, this, &MaintenanceWindow::moveUnused);
    addButton(1, 0, &action("Erace"));
    struct ViewAction {
        const char* name;
        const char* caption;
        const char* hint;
        const char* counter;
        maintenance::View view;
    };
    const ViewAction views[] = {
        {"ViewHTML", "HTML", "参照しているHTMLファイルを表示します", "LabelHTML",
         maintenance::View::Pages},
        {"ViewImg", "画像ファイル", "参照しているその他のファイルを表示します", "LabelImg",
         maintenance::View::Files},
        {"ViewHref", "外部リンク", "参照しているURLリンクを表示します", "LabelHref",
         maintenance::View::External},
        {"ViewAll", "全て表示", "全ての参照リソースを表示します", "LabelAll",
         maintenance::View::All},
        {"ViewInvalid", "未使用", "", "lblInvalid", maintenance::View::Unused},
    };
    int row = 2;
    for (const ViewAction& v : views) {
        QAction* a = addAction(panel_, v.name, v.caption, v.hint);
        const maintenance::View view = v.view;
        connect(a, &QAction::triggered, this, [this, view] { showView(view); });
        addButton(row, 0, a);
        addCounter(row, v.counter);
        ++row;
    }
    grid->setRowStretch(row, 1);

    auto* middle = new QHBoxLayout();
    middle->addWidget(panel_);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ListViewM"));
    list_->setHeaderLabels({QStringLiteral("参照リソース")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSortingEnabled(true);
    list_->sortByColumn(0, Qt::AscendingOrder);
    list_->setMinimumSize(420, 300);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        list_->setToolTip(current ? current->text(0) : QString());
    });
    middle->addWidget(list_, 1);
    layout->addLayout(middle, 1);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setTextVisible(false);
    layout->addWidget(progress_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("BitBtnClose"));
    QPushButton* helpButton =
        buttons->addButton(QStringLiteral("ヘルプ"), QDialogButtonBox::HelpRole);
    helpButton->setObjectName(QStringLiteral("BitBtnHelp"));
    wireHelpButton(this, helpButton, help, kHelpTopic);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    updateActions();
}

QAction* MaintenanceWindow::addAction(QWidget* panel, const char* name, const char* caption,
                                      const char* hint) {
    auto* a = new QAction(QString::fromUtf8(caption), panel);
    a->setObjectName(QString::fromUtf8(name));
    a->setToolTip(QString::fromUtf8(hint));
    a->setStatusTip(QString::fromUtf8(hint));
    return a;
}

QAction& MaintenanceWindow::action(const char* name) {
    return *panel_->findChild<QAction*>(QString::fromUtf8(name));
}

QString MaintenanceWindow::counterText(const char* labelName) const {
    const auto* l = panel_->findChild<QLabel*>(QString::fromUtf8(labelName));
    return l ? l->text() : QString();
}

void MaintenanceWindow::analyze() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PhaseWindow phaseWindow;
    maintenance::Phase shown{};
    bool anyShown = false;
    const auto progress = [&](maintenance::Phase phase, std::size_t done, std::size_t total) {
        if (!anyShown || phase != shown) {
            anyShown = true;
            shown = phase;
            phaseWindow.setPhase(phase);
        }
        progress_->setMaximum(static_cast<int>(std::min<std::size_t>(total, INT32_MAX)));
        progress_->setValue(static_cast<int>(std::min(done, total)));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    };
    try {
        if (form_.analyze(progress)) {
            showRows();
            showCounters();
        }
    } catch (const std::exception& e) {
        prompts_.showError(e.what());
    }
    QApplication::restoreOverrideCursor();
    updateActions();
}

void MaintenanceWindow::moveUnused() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto report = form_.moveUnused(prompts_, [this](std::size_t done, std::size_t total) {
        progress_->setMaximum(static_cast<int>(std::min<std::size_t>(total, INT32_MAX)));
        progress_->setValue(static_cast<int>(std::min(done, total)));
    });
    QApplication::restoreOverrideCursor();
    if (!report) return;
    progress_->reset();
    list_->clear();
    list_->setToolTip(QString());
    updateActions();
    if (openFolder_ && platform::folderExists(report->dustFolder)) openFolder_(report->dustFolder);
}

void MaintenanceWindow::showView(maintenance::View view) {
    form_.showView(view);
    showRows();
}

void MaintenanceWindow::showRows() {
    list_->setSortingEnabled(false);
    list_->clear();
    list_->setToolTip(QString());
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(form_.rows().size()));
    for (const maintenance::ViewRow& r : form_.rows()) {
        auto* item = new QTreeWidgetItem({fromCp932(r.caption)});
        item->setIcon(0, iconFor(r.icon));
        item->setData(0, kIconRole, r.icon);
        items.append(item);
    }
    list_->addTopLevelItems(items);
    list_->setSortingEnabled(true);
}

void MaintenanceWindow::showCounters() {
    const maintenance::Counters& c = form_.counters();
    const std::pair<const char*, std::size_t> counters[] = {
        {"LabelHTML", c.pages}, {"LabelImg", c.files},    {"LabelHref", c.external},
        {"LabelAll", c.all},    {"lblInvalid", c.unused},
    };
    for (const auto& [name, value] : counters)
        if (auto* l = panel_->findChild<QLabel*>(QString::fromUtf8(name)))
            l->setText(QString::number(value));
}

void MaintenanceWindow::updateActions() {
    action("Analize").setEnabled(form_.analyzeEnabled());
    action("Erace").setEnabled(form_.moveEnabled());
    for (const char* name : {"ViewHTML", "ViewImg", "ViewHref", "ViewAll", "ViewInvalid"})
        action(name).setEnabled(form_.viewsEnabled());
    const bool moved = !form_.analyzeEnabled() && !form_.viewsEnabled();
    panel_->setEnabled(!moved);
}

}  // namespace tarnbook::shell
