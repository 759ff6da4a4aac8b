#include "workshopimport/ImportCommand.h"

#include "platform/Files.h"
#include "platform/IoError.h"

namespace tarnbook::workshopimport {

bool ImportForm::okEnabled() const {
    return !contentsPath.empty() && platform::fileExists(contentsPath);
}

void runImportCommand(const ImportTarget& target, const ImportForm& form, ui::Prompts& prompts,
                      ui::StatusDisplay& status, const std::function<void()>& markChanged) {
    ImportOptions options;
    options.copyResources = form.copyResources;
    options.prompts = &prompts;
    options.progress = [&](int percent) { status.setProgress(percent); };
    status.setStatusText(0, "インポート中..");
    try {
        const ImportResult r = importWorkshopProject(target, form.contentsPath, options);
        status.setStatusText(0, "");
        status.setProgress(0);
        if (!r.contentsFound) return;
        markChanged();
        prompts.warn(completionMessage(r, target.projectFolder));
    } catch (const platform::IoError& e) {
        status.setStatusText(0, "");
        status.setProgress(0);
        markChanged();
        prompts.showError(e.what());
    }
}

}  // namespace tarnbook::workshopimport
