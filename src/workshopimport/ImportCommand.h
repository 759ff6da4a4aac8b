#pragma once

#include <functional>
#include <string>

#include "ui/Prompts.h"
#include "ui/StatusDisplay.h"
#include "workshopimport/WorkshopImport.h"

// The Workshop import command around the import itself: what the chooser collects, the
// status text while it runs, and the message at the end.
namespace tarnbook::workshopimport {

// The chooser's fields and rules.
class ImportForm {
  public:
    static constexpr const char* kCopyCaption = "リソースファイルもコピーする";

    std::string contentsPath;    // core path (CP932)
    bool copyResources = false;  // off: the resources are left for the author to copy

    // OK needs a path that names an existing file.
    bool okEnabled() const;
};

// Runs the import of the chosen file: "インポート中.." in status pane 0 while it runs, the
// tree marked changed (`markChanged`), the completion message through `prompts.warn`. A file
// error ends the command with its text; the nodes made so far stay.
void runImportCommand(const ImportTarget& target, const ImportForm& form, ui::Prompts& prompts,
                      ui::StatusDisplay& status, const std::function<void()>& markChanged);

}  // namespace tarnbook::workshopimport
