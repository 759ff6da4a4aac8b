#include "authoring/tags/PageLinkForm.h"

#include "authoring/ResourceRegistry.h"
#include "authoring/tags/MediaTagMarkup.h"
#include "authoring/tags/TagFiles.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"

namespace tarnbook::authoring {

PageLinkForm::PageLinkForm(const project::Workspace& ws)
    : ws_(ws), pages_(projectPages(ws)), linkText_(platform::utf8ToCp932("参照")) {}

void PageLinkForm::choosePage(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    chosenPage_ = index;
    const PageRef& page = pages_[static_cast<std::size_t>(index)];
    const std::string ext = platform::extensionPart(page.path);
    // An anchor of the page chosen before would make a link to nowhere.
    if ((ext != ".html" && ext != ".htm") ||
        !anchors_.search(page.path, contents::AnchorSearch::PageLink)) {
        anchors_.clear();
        return;
    }
    linkText_ = page.title;
}

void PageLinkForm::chooseAnchor(int index) {
    anchors_.choose(index);
    if (anchors_.chosen() >= 0)
        linkText_ = anchors_.entries()[static_cast<std::size_t>(anchors_.chosen())];
}

std::string PageLinkForm::markup() const {
    if (chosenPage_ < 0) return {};
    const std::string& path = pages_[static_cast<std::size_t>(chosenPage_)].path;
    return pageLinkTag(resourceRelativeName(ws_, path), anchors_.chosenAnchor(), linkText_);
}

}  // namespace tarnbook::authoring
