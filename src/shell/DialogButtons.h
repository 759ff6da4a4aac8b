#pragma once
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QString>
#include <QWhatsThis>
#include <functional>

#include "shell/ContextHelp.h"

// The buttons under the program's dialogs: OK (default), "キャンセル" and, when the dialog has
// a help topic, "ヘルプ", wired to accept, reject and the help call (F1 too).
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

// Ties a dialog's help button to its topic: enabled only when the program has a help file
// (`help` is set), clicking it opens the topic. F1 shows the focused control's text popup when
// it has one and opens the topic otherwise; Shift+F1 starts "what's this" mode, in which a
// click on a control shows its popup. The topic is also kept on the button as the property
// "helpTopic". A dialog with a second, page-specific help button gives that one `withF1` =
// false.
inline void wireHelpButton(QWidget* dialog, QAbstractButton* button,
                           const std::function<void(int)>& help, int topic, bool withF1 = true) {
    button->setProperty("helpTopic", topic);
    button->setEnabled(static_cast<bool>(help));
    if (!help) return;
    QObject::connect(button, &QAbstractButton::clicked, dialog, [help, topic] { help(topic); });
    if (!withF1) return;
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, button, [dialog, button] {
        if (showFocusedControlPopup(dialog)) return;
        if (button->isEnabled()) button->click();
    });
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), dialog);
    whatsThis->setContext(Qt::WindowShortcut);
    QObject::connect(whatsThis, &QShortcut::activated, dialog, [] {
        if (ContextHelp::current()) QWhatsThis::enterWhatsThisMode();
    });
}

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
        wireHelpButton(dialog, b.help, help, helpTopic);
    }
    QObject::connect(b.box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(b.box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return b;
}

}  // namespace tarnbook::shell
