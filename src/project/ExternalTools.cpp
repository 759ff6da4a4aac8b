#include "project/ExternalTools.h"

#include "platform/Cp932.h"
#include "platform/Process.h"
#include "project/Workspace.h"

namespace tarnbook::project {
namespace {

std::string programKey(int n) {
    return "Ext" + std::to_string(n);
}

}  // namespace

std::vector<ExternalTool> externalTools(const platform::IniFile& settings) {
    std::vector<ExternalTool> tools;
    for (int n = 1; n <= kExternalToolCount; ++n) {
        ExternalTool t;
        t.number = n;
        t.itemName = "mnuext" + std::to_string(n);
        t.program = settings.readString("SYSTEM", programKey(n));
        t.caption = settings.readString("SYSTEM", programKey(n) + "NAME");
        if (!t.program.empty() && !t.caption.empty()) tools.push_back(std::move(t));
    }
    return tools;
}

bool runExternalTool(Workspace& ws, int number) {
    if (number < 1 || number > kExternalToolCount) return false;
    const std::string program = ws.settings.readString("SYSTEM", programKey(number));
    // A program is run; anything else (a document, a folder) opens with its usual program.
    const bool started = !program.empty() && !platform::findExecutable(program).empty()
                             ? platform::startDetached(program, {})
                             : !program.empty() && platform::openWithDefaultProgram(program);
    if (!started)
        ws.prompts.warn("外部ツールを起動できません。\n[ " + platform::cp932ToUtf8(program) +
                        " ]\n「環境設定」の「外部ツール」でパスを確認して下さい。");
    return started;
}

}  // namespace tarnbook::project
