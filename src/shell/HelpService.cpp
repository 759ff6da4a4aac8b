#include "shell/HelpService.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "project/ContextPopups.h"
#include "project/HelpFiles.h"
#include "viewer/ChmArchive.h"

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
    popups_.reset();
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

std::optional<std::string> HelpService::popupText(std::uint32_t id) {
    if (!available()) return std::nullopt;
    if (!popups_) {
        // A help file that cannot be read has no popups; the help buttons still report why
        // when they fail to open it, so a popup is silently left out.
        std::string bytes;
        if (auto archive = viewer::ChmArchive::open(helpFile_, nullptr))
            bytes = archive->read(project::kHelpPopupEntry).value_or(std::string());
        popups_ = viewer::PopupTexts::parse(bytes);
    }
    const auto text = popups_->text(id);
    if (!text || text->empty()) return std::nullopt;
    return platform::cp932ToUtf8(*text);
}

void HelpService::open(std::vector<std::string> arguments) {
    if (!available()) return;
    if (launcher_(project::kHelpViewerName, arguments)) return;
    prompts_.warn(std::string("ヘルプビューア ") + project::kHelpViewerName +
                  " を起動できません。\nインストールされているか確認してください。");
}

}  // namespace tarnbook::shell
