#include "shell/ImportDialogs.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "shell/DialogButtons.h"
#include "shell/QtText.h"

namespace tarnbook::shell {
namespace {

QListWidgetItem* checkItem(QListWidget* list, const folderimport::CheckedEntry& e) {
    auto* item = new QListWidgetItem(fromCp932(e.text), list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(e.checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

// A text field with "追加", enabled only while the field holds text, and "削除".
struct EditRow {
    QLineEdit* text;
    QPushButton* add;
    QPushButton* remove;
};

EditRow addEditRow(QWidget* parent, QBoxLayout* layout, const char* textName) {
    auto* row = new QHBoxLayout();
    EditRow r{new QLineEdit(parent), new QPushButton(QStringLiteral("追加"), parent),
              new QPushButton(QStringLiteral("削除"), parent)};
    r.text->setObjectName(QString::fromUtf8(textName));
    r.add->setEnabled(false);
    QObject::connect(r.text, &QLineEdit::textChanged, r.add,
                     [add = r.add](const QString& t) { add->setEnabled(!t.isEmpty()); });
    row->addWidget(r.text, 1);
    row->addWidget(r.add);
    row->addWidget(r.remove);
    layout->addLayout(row);
    return r;
}

}  // namespace

TitleSourceDialog::TitleSourceDialog(QWidget* parent, const std::function<void(int)>& help)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmSelectGetTitle"));
    setWindowTitle(QStringLiteral("タイトル取得方法の選択"));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("rGroupSelectGetTitle"));
    auto* boxLayout = new QVBoxLayout(box);
    group_ = new QButtonGroup(this);
    const char* captions[] = {"ファイル名から取得", "＜TITLE＞タグから取得"};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(captions[i]), box);
        group_->addButton(b, i);
        boxLayout->addWidget(b);
    }
    group_->button(1)->setChecked(true);
    layout->addWidget(box);
    layout->addWidget(addDialogButtons(this, {"OKBtn", "CancelBtn", "BitBtnHelp"}, help, 82).box);
}

int TitleSourceDialog::choice() const {
    const int id = group_->checkedId();
    return id < 0 ? 1 : id;
}

ImportFilterDialog::ImportFilterDialog(const platform::IniFile& settings, QWidget* parent,
                                       const std::function<void(int)>& help)
    : QDialog(parent), form_(settings) {
    setObjectName(QStringLiteral("TfrmImportFilter"));
    setWindowTitle(QStringLiteral("インポートフィルタ"));
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    auto* skipPage = new QWidget(tabs);
    auto* skipLayout = new QVBoxLayout(skipPage);
    skip_ = new QListWidget(skipPage);
    skip_->setObjectName(QStringLiteral("ChkLstBoxSkipFolder"));
    skipLayout->addWidget(skip_);
    const EditRow row = addEditRow(skipPage, skipLayout, "EditSkipFolder");
    name_ = row.text;
    connect(row.add, &QPushButton::clicked, this, [this] {
        form();  // keep the ticks made so far
        if (form_.addSkipFolder(toCp932(name_->text()))) fillSkipList();
        name_->clear();
    });
    connect(row.remove, &QPushButton::clicked, this, [this] {
        const int row = skip_->currentRow();
        form();
        if (row >= 0 && form_.removeSkipFolder(static_cast<std::size_t>(row))) fillSkipList();
    });
    tabs->addTab(skipPage, QStringLiteral("スキップ"));
    drop_ = new QListWidget(tabs);
    drop_->setObjectName(QStringLiteral("ChkLstBoxOnlyImport"));
    for (const auto& e : form_.droppable()) checkItem(drop_, e);
    tabs->addTab(drop_, QStringLiteral("ドロップ可能"));
    layout->addWidget(tabs);
    layout->addWidget(addDialogButtons(this, {"OKBtn", "CancelBtn", "BitBtnHelp"}, help, 50).box);
    fillSkipList();
}

void ImportFilterDialog::fillSkipList() {
    skip_->clear();
    for (const auto& e : form_.skipFolders()) checkItem(skip_, e);
}

folderimport::ImportFilterForm& ImportFilterDialog::form() {
    for (int i = 0; i < skip_->count(); ++i)
        form_.skipFolders()[static_cast<std::size_t>(i)].checked =
            skip_->item(i)->checkState() == Qt::Checked;
    for (int i = 0; i < drop_->count(); ++i)
        form_.droppable()[static_cast<std::size_t>(i)].checked =
            drop_->item(i)->checkState() == Qt::Checked;
    return form_;
}

UrlFilterDialog::UrlFilterDialog(const platform::IniFile& settings, QWidget* parent,
                                 const std::function<void(int)>& help)
    : QDialog(parent), form_(settings) {
    setObjectName(QStringLiteral("TfrmURLFilter"));
    setWindowTitle(QStringLiteral("URLフィルタ"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstbxURLFilter"));
    layout->addWidget(list_);
    const EditRow row = addEditRow(this, layout, "EditURL");
    text_ = row.text;
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { text_->setText(item->text()); });
    connect(row.add, &QPushButton::clicked, this, [this] {
        if (form_.add(toCp932(text_->text()))) fillList();
        text_->clear();
    });
    connect(row.remove, &QPushButton::clicked, this, [this] {
        const int row = list_->currentRow();
        if (row >= 0 && form_.remove(static_cast<std::size_t>(row))) fillList();
    });
    layout->addWidget(addDialogButtons(this, {"OKBtn", "CancelBtn", "BitBtnHelp"}, help, 63).box);
    fillList();
}

void UrlFilterDialog::fillList() {
    list_->clear();
    for (const std::string& e : form_.entries()) list_->addItem(fromCp932(e));
}

}  // namespace tarnbook::shell
