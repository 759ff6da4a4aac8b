#include "contents/TreeOps.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>
#include <vector>

#include "contents/GeneratedPages.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "project/ProjectLifecycle.h"

namespace tarnbook::contents {

using project::ContentTree;
using project::TData;
using project::TreeNode;
using project::Workspace;

namespace {

// Last node of depth `level` in the subtree of `root` in pre-order. Only nodes above `level`
// are visited.
TreeNode* lastAtLevel(TreeNode* root, int level) {
    if (root->depth() > level) return nullptr;
    std::vector<TreeNode*> stack{root};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        if (n->depth() == level) return n;
        // Children pushed first to last, so the last child is searched first; a deeper
        // match in a later child precedes every node of an earlier child in reverse order.
        for (std::size_t i = 0; i < n->childCount(); ++i) stack.push_back(n->child(i));
    }
    return nullptr;
}

// First node of depth `level` in the subtree of `root` in pre-order.
TreeNode* firstAtLevel(TreeNode* root, int level) {
    if (root->depth() > level) return nullptr;
    std::vector<TreeNode*> stack{root};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        if (n->depth() == level) return n;
        for (std::size_t i = n->childCount(); i-- > 0;) stack.push_back(n->child(i));
    }
    return nullptr;
}

// The placements move the node in one step, so that views keep its rows and expansion.
void placeBefore(ContentTree& tree, TreeNode* node, TreeNode* sibling) {
    std::size_t index = sibling->indexInParent();
    if (node->parent() == sibling->parent() && node->indexInParent() < index) --index;
    tree.moveTo(node, sibling->parent(), index);
}

void placeLastChild(ContentTree& tree, TreeNode* node, TreeNode* parent) {
    const std::size_t end = parent ? parent->childCount() : tree.topLevelCount();
    tree.moveTo(node, parent, end);
    if (parent) tree.setExpanded(parent, true);
}

void placeFirstChild(ContentTree& tree, TreeNode* node, TreeNode* parent) {
    tree.moveTo(node, parent, 0);
    tree.setExpanded(parent, true);
}

// The common end of every move that got past its first checks.
void finishMove(Workspace& ws, TreeNode* moved, bool wasExpanded) {
    relevel(moved);
    ws.markChanged();
    project::refreshStatus(ws);
    if (wasExpanded) setExpandedRecursively(ws.tree, moved, true);
    ws.tree.selectOnly(moved);
}

// No node below `node` on screen: it shows no children and neither it nor any ancestor has
// a next sibling.
bool isLastVisible(const TreeNode* node) {
    if (node->expanded() && node->hasChildren()) return false;
    for (const TreeNode* n = node; n; n = n->parent())
        if (n->nextSibling()) return false;
    return true;
}

// Where a new page goes: inside the resource folder whatever the text was. Returns empty
// when the text would climb out of it.
std::string newPagePath(const Workspace& ws, const std::string& page) {
    std::string relative;
    if (authoring::inResourceFolder(ws, page))
        relative = authoring::resourceRelativeName(ws, page);
    else if (platform::isAbsolutePath(page))
        relative = platform::fileNamePart(page);
    else
        relative = authoring::resourceRelativeName(ws, page);
    bool escapes = false;
    relative = platform::normalizeRelative(platform::backslashSeparators(relative), &escapes);
    if (escapes || relative.empty()) return {};
    return authoring::resourceFullPath(ws, relative);
}

const std::string& noAnchorText() {
    static const std::string text = platform::utf8ToCp932("指定無し");
    return text;
}

std::string asciiUpper(const std::u16string& caption) {
    return platform::upperCaseSjis(platform::encodeCp932(caption));
}

}  // namespace

TreeNode* levelNodeBefore(int level, const TreeNode* ref) {
    if (!ref || level < 0) return nullptr;
    for (const TreeNode* x = ref; x; x = x->parent()) {
        // Siblings deeper than `level` cannot hold a node of that level.
        if (x->depth() <= level)
            for (TreeNode* s = x->prevSibling(); s; s = s->prevSibling())
                if (TreeNode* hit = lastAtLevel(s, level)) return hit;
        TreeNode* p = x->parent();
        if (p && p->depth() == level) return p;
    }
    return nullptr;
}

TreeNode* levelNodeAfter(int level, const TreeNode* ref) {
    if (!ref || level < 0) return nullptr;
    if (ref->depth() < level)
        for (std::size_t i = 0; i < ref->childCount(); ++i)
            if (TreeNode* hit = firstAtLevel(ref->child(i), level)) return hit;
    for (const TreeNode* x = ref; x; x = x->parent()) {
        if (x->depth() > level) continue;
        for (TreeNode* s = x->nextSibling(); s; s = s->nextSibling())
            if (TreeNode* hit = firstAtLevel(s, level)) return hit;
    }
    return nullptr;
}

TreeNode* insertNodeAfter(Workspace& ws, TData record) {
    auto node = std::make_unique<TreeNode>();
    node->data = std::move(record);
    node->syncViewFromData();
    if (node->data.isHeading() && project::isWebLinkIcon(node->data.ImageIndex))
        node->selectedIndex = node->imageIndex;
    // Whatever the shape around the focused node, the new node becomes its next sibling,
    // after its whole subtree; it never becomes a child of it.
    TreeNode* s = ws.tree.focused();
    TreeNode* placed =
        s ? ws.tree.insertAfter(s, std::move(node)) : ws.tree.appendChild(nullptr, std::move(node));
    placed->data.Level = placed->depth();
    return placed;
}

TreeNode* addItem(Workspace& ws, ItemKind kind, const ItemForm* form, const NewPageWriter& newPage,
                  const authoring::CopyProgress& progress) {
    if (!form || !ws.hasProject()) {
        project::refreshStatus(ws);
        return nullptr;
    }
    TData rec;
    const bool heading = kind == ItemKind::Heading;
    rec.ItemType = heading ? TData::kHeading : TData::kContent;
    rec.Title = form->title;
    rec.HTML = form->page;
    rec.Anchor = form->anchor == noAnchorText() ? std::string() : form->anchor;
    rec.ImageIndex =
        heading ? std::clamp(form->iconChoice, 0, 3) * 2 : std::clamp(form->iconChoice, 0, 33) + 8;
    rec.KeyWord = platform::decodeCp932(rec.Title);

    const std::string& p = form->page;
    if (!p.empty()) {
        std::string d;
        if (platform::fileExists(p)) {
            d = authoring::inResourceFolder(ws, p)
                    ? p
                    : platform::joinPath(authoring::resourceFolder(ws), platform::fileNamePart(p));
            if (d != p) d = authoring::copyIntoResource(p, d);
            authoring::copyCompanionFolder(ws, p, progress);
        } else if (project::namesWebAddress(p)) {
            d = p;
            if (!project::isWebLinkIcon(rec.ImageIndex)) rec.ImageIndex = 12;
        } else {
            const std::string target = newPagePath(ws, p);
            if (target.empty()) {
                ws.prompts.warn("ページ [ " + platform::cp932ToUtf8(p) +
                                    " ] はリソースフォルダの外を指しています。",
                                ui::Buttons::Ok);
                project::refreshStatus(ws);
                return nullptr;
            }
            // A page text naming sub-folders makes them, inside the resource folder.
            const std::string folder = platform::folderPart(target);
            if (!platform::folderExists(folder) && !platform::createFolders(folder))
                throw platform::IoError(platform::failureText(
                    platform::FileAction::CreateFolder, platform::cp932ToUtf8(folder), errno));
            d = newPage ? newPage(target, rec.Title)
                        : newPageFromTemplate(*ws.project, target, rec.Title);
        }
        rec.HTML = authoring::resourceRelativeName(ws, d);
    }

    const bool web = project::namesWebAddress(rec.HTML);
    TreeNode* node = insertNodeAfter(ws, std::move(rec));
    node->selectedIndex = heading && !web ? node->imageIndex + 1 : node->imageIndex;
    ws.markChanged();
    project::refreshStatus(ws);
    return node;
}

void relevel(TreeNode* top) {
    std::vector<TreeNode*> stack{top};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        n->data.Level = n->depth();
        for (const auto& c : n->children()) stack.push_back(c.get());
    }
}

void deleteSelection(Workspace& ws, const TreeHooks& hooks) {
    ContentTree& tree = ws.tree;
    TreeNode* s = tree.focused();
    if (!s) return;
    if (s == tree.first()) {
        const ui::Answer a = ws.prompts.warn(
            "全てのコンテンツが削除されます。\n必要な場合はあらかじめバックアップして下さい。\n"
            "削除してよろしいですか？",
            ui::Buttons::YesNo);
        if (a != ui::Answer::Yes) return;
    }
    std::vector<TreeNode*> doomed = tree.selectedNodes();
    if (std::find(doomed.begin(), doomed.end(), s) == doomed.end()) {
        tree.setSelected(s, true);  // the focused node always belongs to the selection
        doomed = tree.selectedNodes();
    }

    // The node before the focused one survives unless it or an ancestor is selected.
    TreeNode* remembered = ContentTree::prev(s);
    for (TreeNode* n = remembered; n; n = n->parent())
        if (n->selected()) {
            remembered = nullptr;
            break;
        }

    // Later nodes first: a selected descendant goes before its selected ancestor, so every
    // pointer is still valid when it is reached.
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) tree.remove(*it);

    if (remembered)
        tree.selectOnly(remembered);
    else
        tree.setFocused(nullptr);
    ws.currentPage.clear();
    ws.status.activatePage(ui::Page::Preview);
    showSelectedNode(ws, hooks);
    ws.markChanged();
    if (tree.empty()) ws.status.setPageVisible(ui::Page::Editor, false);
    project::refreshStatus(ws);
}

bool moveUp(Workspace& ws) {
    ContentTree& tree = ws.tree;
    TreeNode* s = tree.focused();
    if (!s || s == tree.first()) return false;
    const bool wasExpanded = s->expanded();
    const int level = s->depth();
    TreeNode* parent = s->parent();
    TreeNode* v = ContentTree::prev(s);
    if (v->depth() == level) {
        placeBefore(tree, s, v);
    } else {
        TreeNode* q = levelNodeBefore(level, s);
        if (level == 0) {
            if (q) placeBefore(tree, s, q);
        } else if (q && q->parent() == parent) {
            placeBefore(tree, s, q);
        } else {
            // A first child goes to the end of the nearest earlier node on its parent's level.
            TreeNode* a = levelNodeBefore(level - 1, parent);
            if (a) placeLastChild(tree, s, a);
        }
    }
    finishMove(ws, s, wasExpanded);
    return true;
}

bool moveDown(Workspace& ws) {
    ContentTree& tree = ws.tree;
    TreeNode* s = tree.focused();
    if (!s || isLastVisible(s)) return false;
    const bool wasExpanded = s->expanded();
    const int level = s->depth();
    TreeNode* parent = s->parent();
    TreeNode* n = ContentTree::next(s);
    if (n->depth() == level) {
        // The next sibling trades places with S.
        const bool nExpanded = n->expanded();
        placeBefore(tree, n, s);
        if (nExpanded) setExpandedRecursively(tree, n, true);
    } else if (level == n->depth() + 1) {
        // S is the last child and N its parent's next sibling.
        TreeNode* f = levelNodeAfter(level, s);
        if (f && f->parent() == n)
            placeFirstChild(tree, s, n);
        else
            placeLastChild(tree, s, n);
    } else {
        TreeNode* t = levelNodeAfter(level, s);
        if (t && t->parent() == parent) {
            TreeNode* w = levelNodeAfter(level, t);
            if (w && w->parent() == parent)
                placeBefore(tree, s, w);
            else
                placeLastChild(tree, s, parent);
        } else if (t) {
            placeBefore(tree, s, t);
        } else if (TreeNode* up = levelNodeAfter(level - 1, s)) {
            placeLastChild(tree, s, up);
        }
    }
    finishMove(ws, s, wasExpanded);
    return true;
}

bool moveRight(Workspace& ws) {
    TreeNode* s = ws.tree.focused();
    if (!s) return false;
    const bool wasExpanded = s->expanded();
    if (TreeNode* q = levelNodeBefore(s->depth(), s)) placeLastChild(ws.tree, s, q);
    finishMove(ws, s, wasExpanded);
    return true;
}

bool moveLeft(Workspace& ws) {
    ContentTree& tree = ws.tree;
    TreeNode* s = tree.focused();
    if (!s || s->depth() == 0) return false;
    const bool wasExpanded = s->expanded();
    TreeNode* p = s->parent();
    TreeNode* r = levelNodeAfter(p->depth(), p);
    if (r && r->parent() == p->parent())
        placeBefore(tree, s, r);
    else
        placeLastChild(tree, s, p->parent());
    finishMove(ws, s, wasExpanded);
    return true;
}

int compareCaptions(const std::u16string& a, const std::u16string& b) {
    // std::string compares bytes as unsigned, shorter first on a common prefix.
    const int c = asciiUpper(a).compare(asciiUpper(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

namespace {

// Sorts the children of every parent that is out of order; true when any order changed.
bool sortEveryLevel(ContentTree& tree, int sign) {
    auto less = [sign](const TreeNode& a, const TreeNode& b) {
        return sign * compareCaptions(a.caption, b.caption) < 0;
    };
    std::vector<TreeNode*> parents{nullptr};
    tree.forEach([&](TreeNode& n) {
        if (n.childCount() > 1) parents.push_back(&n);
    });
    bool changed = false;
    for (TreeNode* p : parents) {
        const std::size_t count = p ? p->childCount() : tree.topLevelCount();
        auto at = [&](std::size_t i) { return p ? p->child(i) : tree.topLevel(i); };
        bool ordered = true;
        for (std::size_t i = 1; i < count && ordered; ++i) ordered = !less(*at(i), *at(i - 1));
        if (ordered) continue;
        tree.sortChildren(p, less);
        changed = true;
    }
    return changed;
}

// The selected nodes trade caption, record and icons among their positions in pre-order;
// children stay where they are. True when any position received another node's contents.
bool sortSelection(ContentTree& tree, bool descending) {
    const std::vector<TreeNode*> positions = tree.selectedNodes();
    std::vector<std::string> keys;
    keys.reserve(positions.size());
    for (const TreeNode* n : positions) keys.push_back(asciiUpper(n->caption));
    std::vector<std::size_t> order(positions.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = keys[a].compare(keys[b]);
        return descending ? c > 0 : c < 0;
    });
    if (std::is_sorted(order.begin(), order.end())) return false;
    struct Payload {
        std::u16string caption;
        TData data;
    };
    std::vector<Payload> items;
    items.reserve(positions.size());
    for (TreeNode* n : positions) items.push_back({n->caption, n->data});
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (order[i] == i) continue;
        TreeNode* n = positions[i];
        tree.willChange(n);
        n->caption = items[order[i]].caption;
        n->data = items[order[i]].data;
        n->data.Level = n->depth();
        n->imageIndex = n->data.ImageIndex;
        n->selectedIndex = n->imageIndex > 7 ? n->imageIndex : n->imageIndex + 1;
        tree.nodeChanged(n);
    }
    return true;
}

}  // namespace

void sortNodes(Workspace& ws, bool descending) {
    if (!ws.hasProject()) return;  // the descending sort is always enabled
    const bool changed = ws.tree.focused() ? sortSelection(ws.tree, descending)
                                           : sortEveryLevel(ws.tree, descending ? -1 : 1);
    // A sort that finds everything in order leaves the project saved.
    if (changed) ws.markChanged();
    project::refreshStatus(ws);
}

void setExpandedRecursively(ContentTree& tree, TreeNode* node, bool expanded) {
    std::vector<TreeNode*> stack{node};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        tree.setExpanded(n, expanded);
        for (const auto& c : n->children()) stack.push_back(c.get());
    }
}

void setAllExpanded(ContentTree& tree, bool expanded) {
    tree.forEach([&](TreeNode& n) { tree.setExpanded(&n, expanded); });
}

void expandOrCollapse(Workspace& ws) {
    if (TreeNode* s = ws.tree.focused()) {
        setExpandedRecursively(ws.tree, s, !s->expanded());
        return;
    }
    setAllExpanded(ws.tree, !ws.tree.allExpanded());
}

void changeKind(Workspace& ws) {
    TreeNode* s = ws.tree.focused();
    if (!s) return;
    ws.tree.willChange(s);
    const bool altIcons = ws.project && ws.project->readInteger("XHP", "NodeIcon", 0) != 0;
    if (s->data.isHeading()) {
        s->data.ItemType = TData::kContent;
        s->data.ImageIndex = altIcons ? 10 : 8;
    } else {
        s->data.ItemType = TData::kHeading;
        s->data.ImageIndex = altIcons ? 4 : 0;
    }
    s->imageIndex = s->data.ImageIndex;
    s->selectedIndex = project::selectedImageFor(s->data);
    ws.markChanged();
    project::refreshStatus(ws);
}

void toggleNodeIcon(Workspace& ws) {
    TreeNode* s = ws.tree.focused();
    if (!s) return;
    ws.tree.willChange(s);
    int i = s->data.ImageIndex;
    if (!s->data.isHeading()) {
        i = i % 2 == 0 ? i + 1 : i - 1;
    } else if (i == 0 || i == 4) {
        i += 2;
    } else if (i == 2 || i == 6) {
        i -= 2;
    }
    s->data.ImageIndex = i;
    s->imageIndex = i;
    s->selectedIndex = project::selectedImageFor(s->data);
    ws.markChanged();
    project::refreshStatus(ws);
}

}  // namespace tarnbook::contents
