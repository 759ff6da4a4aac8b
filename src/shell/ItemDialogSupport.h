#pragma once
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

#include "contents/ItemForms.h"
#include "platform/Cp932.h"
#include "shell/ContentTreeModel.h"

// Small bindings shared by the item dialogs: CP932 text at the widget edge, two-part hints,
// the anchor box and the icon lists.
namespace tarnbook::shell::itemdialog {

inline QString fromCp932(std::string_view bytes) {
    const std::string utf8 = platform::cp932ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string toCp932(const QString& text) {
    return platform::utf8ToCp932(text.toStdString());
}

// "short|long": the short part as tool tip, the long part for the status bar.
inline void setHint(QWidget* w, const std::string& utf8Hint) {
    const QString hint = QString::fromUtf8(utf8Hint.c_str());
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    w->setToolTip(bar < 0 ? hint : hint.left(bar));
    w->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

// Sets a field's text without disturbing the caret when it already shows that text.
inline void showText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

// Rebuilds the anchor box from the list when its entries differ, then shows the choice.
inline void showAnchors(QComboBox* box, const contents::AnchorList& list) {
    bool same = box->count() == static_cast<int>(list.entries().size());
    for (int i = 0; same && i < box->count(); ++i)
        same = box->itemText(i) == fromCp932(list.entries()[static_cast<std::size_t>(i)]);
    if (!same) {
        const QString typed = box->currentText();
        box->clear();
        for (const std::string& e : list.entries()) box->addItem(fromCp932(e));
        if (list.chosen() < 0) box->setEditText(typed);
    }
    if (list.chosen() >= 0 && box->currentIndex() != list.chosen())
        box->setCurrentIndex(list.chosen());
}

// Enter in the anchor box adds the typed text; it must not also press the default button.
class EnterFilter : public QObject {
  public:
    EnterFilter(QObject* parent, std::function<void()> onEnter)
        : QObject(parent), onEnter_(std::move(onEnter)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                onEnter_();
                return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }

  private:
    std::function<void()> onEnter_;
};

// An editable anchor box: Enter adds the typed text, picking or typing an entry chooses it.
inline void bindAnchorBox(QComboBox* box, contents::AnchorList& list,
                          const std::function<void()>& refresh) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(static_cast<int>(contents::AnchorList::kLimit));
    QObject::connect(box, &QComboBox::activated, box, [&list, refresh](int index) {
        list.choose(index);
        refresh();
    });
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box,
                     [box, &list](const QString& text) { list.choose(box->findText(text)); });
    // Key presses may reach the box or its line edit first, depending on the style.
    auto* filter = new EnterFilter(box, [box, &list, refresh] {
        list.addTyped(toCp932(box->currentText()));
        refresh();
    });
    box->installEventFilter(filter);
    box->lineEdit()->installEventFilter(filter);
}

// The icon list: `count` entries showing tree images `first`, `first + step`, ...
inline void fillIcons(QComboBox* box, int count, int first, int step) {
    box->setIconSize(QSize(16, 16));
    for (int i = 0; i < count; ++i)
        box->addItem(ContentTreeModel::treeImage(first + i * step), QString());
}

}  // namespace tarnbook::shell::itemdialog
