#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "authoring/tags/ControlTagMarkup.h"
#include "contents/ItemForms.h"
#include "project/Workspace.h"

// The link dialog (TagHref, "アンカー参照タグ挿入") without its widgets: a page of the project,
// optionally one of its anchors, and the link text.
namespace tarnbook::authoring {

class PageLinkForm {
  public:
    // Lists every node with a page, in tree order; no page chosen, no anchors, the link text
    // preset "参照".
    explicit PageLinkForm(const project::Workspace& ws);

    static const char* caption() { return "アンカー参照タグ挿入"; }

    const std::vector<PageRef>& pages() const { return pages_; }
    int chosenPage() const { return chosenPage_; }
    // Choosing a page that is an existing ".htm"/".html" file lists its anchors and takes its
    // title as the link text. Any other page offers no anchors and keeps the link text.
    void choosePage(int index);

    const contents::AnchorList& anchors() const { return anchors_; }
    // Enabled when the chosen page has at least one anchor.
    bool anchorsEnabled() const { return anchors_.entries().size() > 1; }
    // Takes the entry (also "指定無し") as the link text.
    void chooseAnchor(int index);

    const std::string& linkText() const { return linkText_; }
    void setLinkText(std::string_view text) { linkText_ = text; }

    // A page and a link text.
    bool okEnabled() const { return chosenPage_ >= 0 && !linkText_.empty(); }
    // The link: the page relative to the resource folder, with "#anchor" when one is chosen.
    std::string markup() const;

  private:
    const project::Workspace& ws_;
    std::vector<PageRef> pages_;
    int chosenPage_ = -1;
    contents::AnchorList anchors_;
    std::string linkText_;
};

}  // namespace tarnbook::authoring
