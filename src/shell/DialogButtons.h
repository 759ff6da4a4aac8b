#pragma once
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>
#include <functional>

// The buttons under the program's dialogs: OK (default), "キャンセル" and, when the dialog has
// a help topic, "ヘルプ", wired to accept, reject and the help call.
namespace tarnbook::shell {

struct DialogButtons {
    QDialogButtonBox* box = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;  // null when the dialog has no help button
};

struct DialogButtonNames {
    const char* ok = "";
    const char* cancel = "";
    const char* help = nullptr;  // null: no help button
};

inline DialogButtons addDialogButtons(QDialog* dialog, const DialogButtonNames& names,
                                      const std::function<void(int)>& help = {},
                                      int helpTopic = 0) {
    DialogButtons b;
    b.box = new QDialogButtonBox(dialog);
    b.ok = b.box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    b.ok->setObjectName(QString::fromUtf8(names.ok));
    b.ok->setDefault(true);
    b.cancel = b.box->addButton(QString::fromUtf8("キャンセル"), QDialogButtonBox::RejectRole);
    b.cancel->setObjectName(QString::fromUtf8(names.cancel));
    if (names.help) {
        b.help = b.box->addButton(QString::fromUtf8("ヘルプ"), QDialogButtonBox::HelpRole);
        b.help->setObjectName(QString::fromUtf8(names.help));
        b.help->setEnabled(static_cast<bool>(help));
        if (help)
            QObject::connect(b.help, &QPushButton::clicked, dialog,
                             [help, helpTopic] { help(helpTopic); });
    }
    QObject::connect(b.box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(b.box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return b;
}

}  // namespace tarnbook::shell
