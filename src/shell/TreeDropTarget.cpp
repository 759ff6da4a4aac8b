#include "shell/TreeDropTarget.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "authoring/EditorPage.h"
#include "contents/NodeSelection.h"
#include "folderimport/FolderImport.h"
#include "shell/ContentTreeModel.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {

// The local files among dragged data; other URLs are not material for the tree.
std::vector<std::string> localFiles(const QMimeData* mime) {
    std::vector<std::string> files;
    if (!mime) return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) files.push_back(corePathOf(url.toLocalFile()));
    return files;
}

}  // namespace

TreeDropTarget::TreeDropTarget(WindowContext& context, ContentTreeView& view,
                               std::function<void()> dropped)
    : QObject(&view), cx_(context), view_(view), dropped_(std::move(dropped)) {
    view_.setAcceptDrops(true);
    view_.viewport()->setAcceptDrops(true);
    view_.viewport()->installEventFilter(this);
}

bool TreeDropTarget::eventFilter(QObject* watched, QEvent* e) {
    if (watched != view_.viewport()) return QObject::eventFilter(watched, e);
    switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* d = static_cast<QDragMoveEvent*>(e);
            if (localFiles(d->mimeData()).empty() || !(d->possibleActions() & Qt::CopyAction)) {
                d->ignore();
                view_.setDropTarget({});
                return true;
            }
            d->setDropAction(Qt::CopyAction);
            d->accept();
            view_.setDropTarget(view_.indexAt(d->position().toPoint()));
            return true;
        }
        case QEvent::DragLeave:
            view_.setDropTarget({});
            return true;
        case QEvent::Drop: {
            auto* d = static_cast<QDropEvent*>(e);
            view_.setDropTarget({});
            const std::vector<std::string> files = localFiles(d->mimeData());
            if (files.empty() || !(d->possibleActions() & Qt::CopyAction)) {
                d->ignore();
                return true;
            }
            d->setDropAction(Qt::CopyAction);
            d->accept();
            dropPoint_ = d->position().toPoint();
            dropFiles(files);
            return true;
        }
        default:
            return QObject::eventFilter(watched, e);
    }
}

void TreeDropTarget::dropFiles(const std::vector<std::string>& files) {
    contents::TreeHooks hooks = cx_.hooks();
    hooks.askTitleSource = askTitleSource;
    hooks.isDropImportable = [this](const std::string& file) {
        return folderimport::isDropImportable(cx_.ws.settings, file);
    };
    hooks.importOneFile = [this](const std::string& file, project::TreeNode* parent,
                                 int titleSource, const std::string&) {
        if (importFile) importFile(file, parent, titleSource);
    };
    // Looked up again for every file: earlier imports may have shifted the rows.
    hooks.nodeAtDropPoint = [this] { return ContentTreeModel::nodeAt(view_.indexAt(dropPoint_)); };
    view_.setUpdatesEnabled(false);
    cx_.guarded([&] {
        contents::dropOnTree(cx_.ws, files, hooks);
        authoring::refreshWindowState(cx_.ws);
    });
    view_.setUpdatesEnabled(true);
    if (dropped_) dropped_();
}

}  // namespace tarnbook::shell
