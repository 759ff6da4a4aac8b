#include "shell/TagCommands.h"

#include "authoring/TagHighlight.h"
#include "authoring/tags/ButtonTagForms.h"
#include "authoring/tags/MediaTagMarkup.h"
#include "shell/ButtonTagDialogs.h"
#include "shell/ItemDialogSupport.h"
#include "shell/MediaTagDialogs.h"
#include "shell/PopupDialog.h"

namespace tarnbook::shell {

using namespace authoring;
using Insert = std::optional<TagInsert>;

namespace {

// Shows a dialog bound to `form`; the markup of the filled form on OK.
template <typename Dialog, typename Form, typename Markup>
Insert runForm(QWidget* parent, Form& form, const std::function<void(int)>& help, Markup markup,
               TagPlacement placement = TagPlacement::Caret, bool highlight = true) {
    Dialog dialog(parent, form, help);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return TagInsert{markup(form), placement, highlight};
}

std::optional<std::string> askName(QWidget* parent, const TagCommandSpec& entry) {
    TagNameDialog dialog(parent, QString::fromUtf8(entry.caption.data(), entry.caption.size()),
                         QString::fromUtf8(entry.label.data(), entry.label.size()));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return itemdialog::toCp932(dialog.name());
}

}  // namespace

TagCommands::TagCommands(QWidget* parent, project::Workspace& ws, std::function<void(int)> help)
    : parent_(parent), ws_(ws), help_(std::move(help)) {}

bool TagCommands::handles(std::string_view id) {
    return findTagCommand(id) != nullptr;
}

bool TagCommands::run(std::string_view id) {
    const TagCommandSpec* entry = findTagCommand(id);
    if (!entry) return false;
    const Insert insert = ask(*entry);
    if (!insert) return false;
    return insertTag(ws_.editor, *insert, readHighlightSettings(ws_.settings));
}

Insert TagCommands::ask(const TagCommandSpec& entry) {
    const auto markupOf = [](const auto& form) { return form.markup(); };
    switch (entry.dialog) {
        case TagDialog::Popup: {
            PopupDialog dialog(parent_, contents::PopupForm{}, help_);
            if (dialog.exec() != QDialog::Accepted) return std::nullopt;
            return popupInsert(dialog.form());
        }
        case TagDialog::Shortcut: {
            ShortcutForm form(ws_);
            return runForm<ShortcutTagDialog>(parent_, form, help_, markupOf);
        }
        case TagDialog::Related: {
            RelatedTopicsForm form(ws_);
            return runForm<RelatedTopicsDialog>(parent_, form, help_, markupOf);
        }
        case TagDialog::LinkButton: {
            LinkButtonForm form(ws_, entry.link);
            return runForm<LinkButtonDialog>(parent_, form, help_, markupOf);
        }
        case TagDialog::HelpButton: {
            HelpButtonForm form(entry.button);
            return runForm<HelpButtonDialog>(parent_, form, help_, markupOf);
        }
        case TagDialog::PageLink: {
            PageLinkForm form(ws_);
            return runForm<PageLinkDialog>(parent_, form, help_, markupOf);
        }
        case TagDialog::Splash: {
            SplashForm form(ws_);
            return runForm<SplashTagDialog>(parent_, form, help_,
                                            [](SplashForm& f) { return f.accept(); });
        }
        case TagDialog::Media: {
            MediaForm form(ws_, entry.media);
            // The sound tag leaves the colours to the next highlighting run.
            return runForm<MediaTagDialog>(
                parent_, form, help_, [](MediaForm& f) { return f.accept(); }, TagPlacement::Caret,
                entry.media != MediaKind::Sound);
        }
        case TagDialog::KeywordName: {
            const auto name = askName(parent_, entry);
            if (!name) return std::nullopt;
            return TagInsert{keywordObject(entry.link, *name), TagPlacement::HeadEnd, true};
        }
        case TagDialog::AnchorName: {
            const auto name = askName(parent_, entry);
            if (!name) return std::nullopt;
            return TagInsert{anchorTag(*name), TagPlacement::Caret, true};
        }
    }
    return std::nullopt;
}

}  // namespace tarnbook::shell
