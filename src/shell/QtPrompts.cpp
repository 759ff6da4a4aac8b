#include "shell/QtPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "BuildInfo.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "shell/QtText.h"

namespace tarnbook::shell {
namespace {}  // namespace

ui::Answer QtPrompts::ask(const std::string& text, ui::Buttons buttons, bool warning) {
    if (warning) QApplication::beep();
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question,
                    QString::fromUtf8(buildinfo::kProductName), fromUtf8(text),
                    QMessageBox::NoButton, owner_);
    struct B {
        ui::Answer answer;
        const char* caption;
        QMessageBox::ButtonRole role;
    };
    std::vector<B> list;
    switch (buttons) {
        case ui::Buttons::Ok:
            list = {{ui::Answer::Ok, "OK", QMessageBox::AcceptRole}};
            break;
        case ui::Buttons::Yes:
            list = {{ui::Answer::Yes, "はい(&Y)", QMessageBox::YesRole}};
            break;
        case ui::Buttons::OkCancel:
            list = {{ui::Answer::Ok, "OK", QMessageBox::AcceptRole},
                    {ui::Answer::Cancel, "キャンセル", QMessageBox::RejectRole}};
            break;
        case ui::Buttons::YesCancel:
            list = {{ui::Answer::Yes, "はい(&Y)", QMessageBox::YesRole},
                    {ui::Answer::Cancel, "キャンセル", QMessageBox::RejectRole}};
            break;
        case ui::Buttons::YesNo:
            list = {{ui::Answer::Yes, "はい(&Y)", QMessageBox::YesRole},
                    {ui::Answer::No, "いいえ(&N)", QMessageBox::NoRole}};
            break;
        case ui::Buttons::YesNoCancel:
            list = {{ui::Answer::Yes, "はい(&Y)", QMessageBox::YesRole},
                    {ui::Answer::No, "いいえ(&N)", QMessageBox::NoRole},
                    {ui::Answer::Cancel, "キャンセル", QMessageBox::RejectRole}};
            break;
    }
    std::vector<QAbstractButton*> made;
    for (const auto& b : list) made.push_back(box.addButton(QString::fromUtf8(b.caption), b.role));
    box.setDefaultButton(static_cast<QPushButton*>(made.front()));
    if (list.size() > 1) box.setEscapeButton(made.back());
    box.exec();
    for (std::size_t i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made[i]) return list[i].answer;
    // Closed without a button: the last (cancelling) answer.
    return list.back().answer;
}

ui::Answer QtPrompts::warn(const std::string& text, ui::Buttons buttons) {
    return ask(text, buttons, true);
}

ui::Answer QtPrompts::confirm(const std::string& text, ui::Buttons buttons) {
    return ask(text, buttons, false);
}

void QtPrompts::showError(const std::string& text) {
    QMessageBox::critical(owner_, QString::fromUtf8(buildinfo::kProductName), fromUtf8(text));
}

QString QtPrompts::qtFilter(const std::string& filter) {
    const QStringList parts = fromUtf8(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

std::optional<std::string> QtPrompts::chooseOpenFile(const std::string& title,
                                                     const std::string& filter,
                                                     const std::string& initialFolder) {
    const QString f = QFileDialog::getOpenFileName(owner_, fromUtf8(title),
                                                   nativeText(initialFolder), qtFilter(filter));
    if (f.isEmpty()) return std::nullopt;
    return corePathOf(f);
}

std::vector<std::string> QtPrompts::chooseOpenFiles(const std::string& title,
                                                    const std::string& filter,
                                                    const std::string& initialFolder) {
    std::vector<std::string> out;
    for (const QString& f : QFileDialog::getOpenFileNames(
             owner_, fromUtf8(title), nativeText(initialFolder), qtFilter(filter)))
        out.push_back(corePathOf(f));
    return out;
}

std::optional<std::string> QtPrompts::chooseSaveFile(const std::string& title,
                                                     const std::string& filter,
                                                     const std::string& initialPath) {
    const QString f = QFileDialog::getSaveFileName(owner_, fromUtf8(title), nativeText(initialPath),
                                                   qtFilter(filter));
    if (f.isEmpty()) return std::nullopt;
    return corePathOf(f);
}

std::optional<std::string> QtPrompts::chooseFolder(const std::string& title,
                                                   const std::string& initialFolder) {
    const QString f =
        QFileDialog::getExistingDirectory(owner_, fromUtf8(title), nativeText(initialFolder));
    if (f.isEmpty()) return std::nullopt;
    return corePathOf(f);
}

std::optional<std::string> QtPrompts::inputLine(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initial) {
    bool ok = false;
    const QString t = QInputDialog::getText(owner_, fromUtf8(caption), fromUtf8(prompt),
                                            QLineEdit::Normal, fromUtf8(initial), &ok);
    if (!ok) return std::nullopt;
    return t.toStdString();
}

}  // namespace tarnbook::shell
