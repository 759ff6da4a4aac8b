#pragma once
#include <QLabel>

namespace tarnbook::shell {

// A label that shows its text as written: a caption such as "テンプレート <BODY>" is not
// markup, and a label left to guess would swallow the tag.
inline QLabel* plainLabel(const char* utf8, QWidget* parent) {
    auto* l = new QLabel(QString::fromUtf8(utf8), parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

}  // namespace tarnbook::shell
