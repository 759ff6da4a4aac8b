#include "contents/IndexPage.h"

#include <memory>

#include "authoring/ResourceRegistry.h"
#include "contents/GeneratedPages.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/UniqueFile.h"
#include "project/ProjectLifecycle.h"

namespace tarnbook::contents {

namespace {

constexpr std::string_view kPlaceholder = "$HREF$";

// "目次" and "■" in Shift_JIS.
const std::string kIndexTitle = "\x96\xDA\x8E\x9F";
const std::string kRowMark = "\x81\xA1";

std::string linkOf(const project::Workspace& ws, const project::TreeNode& node) {
    std::string page =
        platform::backslashSeparators(authoring::resourceFullPath(ws, node.data.HTML));
    const std::string marker = "\\_RESOURCE\\";
    const auto at = platform::upperCaseSjis(page).find(marker);
    if (at != std::string::npos) page.erase(0, at + marker.size());
    return "<a href=\"" + page + "\">" + node.data.Title + "</a>";
}

int headingIcon(const platform::IniFile& settings) {
    const long long n = settings.readInteger("TEMPLATE", "DEFAULT", 1);
    const std::string section = "TEMPLATE" + std::to_string(n);
    return settings.readInteger(section, "NodeIcon", 0) == 1 ? 4 : 0;
}

}  // namespace

std::string indexRowTemplate(const project::Workspace& ws) {
    if (!ws.hasProject()) return {};
    const std::string path = ws.project->readString("XHP", "AutoIndex");
    if (path.empty() || !platform::fileExists(path)) return {};
    std::string joined;
    for (const std::string& line : platform::readLines(path)) joined += line;
    return joined.find(kPlaceholder) == std::string::npos ? std::string() : joined;
}

std::vector<std::string> indexRows(const project::Workspace& ws,
                                   const std::vector<project::TreeNode*>& nodes,
                                   const std::string& rowTemplate) {
    std::vector<std::string> rows;
    for (const project::TreeNode* n : nodes) {
        const std::string link = linkOf(ws, *n);
        rows.push_back(rowTemplate.empty()
                           ? kRowMark + link + "<br>"
                           : platform::replaceAllSjis(rowTemplate, kPlaceholder, link));
    }
    return rows;
}

project::TreeNode* generateIndexPage(project::Workspace& ws) {
    if (!ws.hasProject()) return nullptr;
    const std::string rowTemplate = indexRowTemplate(ws);
    const std::vector<project::TreeNode*> nodes = ws.tree.selectedNodes();
    if (nodes.empty()) return nullptr;

    std::vector<std::string> lines = standardOpeningLines();
    if (ws.project->readBool("XHP", "UseCSS", false)) {
        const std::string css = ws.project->readString("XHP", "CSS");
        copyStyleSheetIntoResource(css, ws.resourceFolder());
        lines.push_back(styleSheetLine(css));
    }
    lines.push_back("</HEAD><BODY>");
    lines.emplace_back(generatedComment());
    for (std::string& row : indexRows(ws, nodes, rowTemplate)) lines.push_back(std::move(row));
    lines.push_back("</BODY></HTML>");

    const std::string page = platform::makeUniqueFile(ws.resourceFolder(), "IDX", ".html");
    try {
        platform::writeLinesCrLf(page, lines);
    } catch (...) {
        platform::deleteFile(page);
        throw;
    }

    auto node = std::make_unique<project::TreeNode>();
    node->data.ItemType = project::TData::kHeading;
    node->data.Title = kIndexTitle;
    node->data.HTML = authoring::resourceRelativeName(ws, page);
    node->data.ImageIndex = headingIcon(ws.settings);
    node->syncViewFromData();
    project::TreeNode* placed = ws.tree.insertChild(nullptr, 0, std::move(node));
    ws.tree.refreshNodeStatus();
    ws.markChanged();
    project::refreshStatus(ws);
    return placed;
}

}  // namespace tarnbook::contents
