#include "shell/HelpService.h"

#include "platform/Files.h"
#include "platform/Process.h"
#include "project/HelpFiles.h"

namespace tarnbook::shell {

namespace {

bool startViewer(const std::string& /*program*/, const std::vector<std::string>& arguments) {
    const std::string viewer = project::findHelpViewer(platform::programFolder());
    return !viewer.empty() && platform::startDetached(viewer, arguments);
}

}  // namespace

HelpService::HelpService(ui::Prompts& prompts, Launcher launcher)
    : prompts_(prompts), launcher_(launcher ? std::move(launcher) : Launcher(startViewer)) {}

void HelpService::setHelpFile(std::string corePath) {
    helpFile_ = std::move(corePath);
}

std::function<void(int)> HelpService::topicOpener() {
    if (!available()) return {};
    return [this](int topic) { showTopic(topic); };
}

void HelpService::showTopic(int topic) {
    open({"--context", std::to_string(topic), helpFile_});
}

void HelpService::showContents() {
    open({helpFile_});
}

void HelpService::showIndex() {
    open({"--index", helpFile_});
}

void HelpService::open(std::vector<std::string> arguments) {
    if (!available()) return;
    if (launcher_(project::kHelpViewerName, arguments)) return;
    prompts_.warn(std::string("ヘルプビューア ") + project::kHelpViewerName +
                  " を起動できません。\nインストールされているか確認してください。");
}

}  // namespace tarnbook::shell
