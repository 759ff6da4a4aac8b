#include "shell/MapArea.h"

#include <QMainWindow>
#include <QTreeWidget>

#include "contents/AdditionKeyword.h"
#include "contents/IndexPage.h"
#include "contents/MapFile.h"
#include "contents/ProjectTextFiles.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {
// The resource column of the resource list.
constexpr int kResourceColumn = 1;
}  // namespace

MapArea::MapArea(WindowContext& context) : QObject(&context.window), cx_(context) {}

void MapArea::bindCommands() {
    auto& ws = cx_.ws;
    auto& c = cx_.commands;
    c.bind("Keyword", [this] { editKeyword(); });
    c.bind("PutMap", [&ws] { contents::putMap(ws); });
    c.bind("ActEditMap",
           [&ws] { contents::editProjectTextFile(ws, contents::ProjectTextFile::Map); });
    c.bind("ActEditPopup",
           [&ws] { contents::editProjectTextFile(ws, contents::ProjectTextFile::Popup); });
    c.bind("GenIndex", [&ws] { contents::generateIndexPage(ws); });
}

void MapArea::editKeyword() {
    std::optional<std::string> listed;
    auto* list = cx_.window.findChild<QTreeWidget*>(QStringLiteral("LVResource"));
    // The selected row, not the current one: a Ctrl+click can leave them apart.
    if (list && list->selectedItems().size() == 1)
        listed = toCp932(list->selectedItems().front()->text(kResourceColumn));
    contents::editAdditionKeyword(cx_.ws, listed);
    cx_.run("ResAdd");
}

}  // namespace tarnbook::shell
