#include "shell/ContextHelp.h"

#include <QApplication>
#include <QHelpEvent>
#include <QWhatsThis>
#include <QWidget>

#include "project/ContextPopups.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {

ContextHelp* instance = nullptr;

std::string nameOf(const QObject* o) {
    return toCp932(o->objectName());  // object names are ASCII
}

}  // namespace

ContextHelp::ContextHelp(PopupSource source) : source_(std::move(source)) {
    instance = this;
    qApp->installEventFilter(this);
}

ContextHelp::~ContextHelp() {
    if (instance == this) instance = nullptr;
}

ContextHelp* ContextHelp::current() {
    return instance;
}

std::optional<std::uint32_t> ContextHelp::popupOf(QWidget* control) const {
    const QWidget* window = control ? control->window() : nullptr;
    if (!window) return std::nullopt;
    const std::string dialog = nameOf(window);
    for (QWidget* w = control; w && w != window; w = w->parentWidget())
        if (auto id = project::contextPopupOf(dialog, nameOf(w))) return id;
    return std::nullopt;
}

bool ContextHelp::showFor(QWidget* control, QPoint at) {
    const auto id = popupOf(control);
    if (!id) return false;
    const auto text = source_(*id);
    if (!text) return false;
    // Shown as rich text so that the popup keeps the manual's line breaks.
    QString html = fromUtf8(*text).toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    QWhatsThis::showText(at, html, control);
    return true;
}

bool ContextHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::QueryWhatsThis && event->type() != QEvent::WhatsThis) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    // Each widget of the chain gets its turn (Qt passes the request up), so only the widget
    // itself is looked at here.
    const QWidget* window = widget->window();
    if (!window || widget == window || !project::contextPopupOf(nameOf(window), nameOf(widget)))
        return false;
    if (event->type() == QEvent::WhatsThis &&
        !showFor(widget, static_cast<QHelpEvent*>(event)->globalPos()))
        return false;
    event->accept();
    return true;
}

bool showFocusedControlPopup(QWidget* dialog) {
    ContextHelp* help = ContextHelp::current();
    QWidget* focus = dialog ? dialog->focusWidget() : nullptr;
    if (!help || !focus) return false;
    return help->showFor(focus, focus->mapToGlobal(QPoint(focus->width() / 2, focus->height())));
}

}  // namespace tarnbook::shell
