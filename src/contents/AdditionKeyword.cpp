#include "contents/AdditionKeyword.h"

#include <algorithm>

#include "authoring/ResourceRegistry.h"
#include "platform/Cp932.h"

namespace tarnbook::contents {

void editAdditionKeyword(project::Workspace& ws, const std::optional<std::string>& listedFile) {
    if (!ws.hasProject() || !listedFile) return;
    auto entries = authoring::readAdditions(*ws.project);
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const auto& e) { return e.file == *listedFile; });
    if (it == entries.end()) return;
    const auto typed = ws.prompts.inputLine("追加キーワード編集", "追加キーワード",
                                            platform::cp932ToUtf8(it->key));
    if (typed) it->key = platform::utf8ToCp932(*typed);
    // Cancelling rewrites the section too, which drops entries that lost their file name.
    authoring::rewriteAdditions(*ws.project, entries);
    ws.project->save();
}

}  // namespace tarnbook::contents
