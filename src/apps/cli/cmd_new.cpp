#include <cstdio>

#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "project/ProjectLifecycle.h"
#include "project/Settings.h"
#include "project/WizardForm.h"

namespace {

using namespace tarnbook;

int runNew(const std::vector<std::string>& args) {
    std::string name;
    int templateNumber = -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--template" && i + 1 < args.size()) {
            long long n = 0;
            if (!platform::IniFile::parseInteger(args[++i], &n) || n < 0) {
                std::fprintf(stderr, "tarnbook-cli new: --template needs a template number\n");
                return 2;
            }
            templateNumber = static_cast<int>(n);
        } else if (name.empty()) {
            name = platform::utf8ToCp932(args[i]);
        } else {
            name.clear();
            break;
        }
    }
    if (name.empty()) {
        std::fprintf(stderr, "usage: tarnbook-cli new NAME [--template N]\n");
        return 2;
    }
    if (!platform::isValidFileName(name)) {
        std::fprintf(stderr,
                     "tarnbook-cli new: a project name cannot contain \\ / : , ; * ? \" < > |\n");
        return 2;
    }

    HeadlessWorkspace h;
    project::WizardForm wizard(h.ws.settings);
    if (templateNumber >= 0) {
        if (templateNumber > static_cast<int>(wizard.templateNames().size())) {
            std::fprintf(stderr, "tarnbook-cli new: there is no template %d\n", templateNumber);
            return 2;
        }
        if (templateNumber > 0) wizard.chooseTemplate(templateNumber - 1);
    }
    wizard.projectName = name;
    const std::string folder = wizard.projectFolder();
    if (folder.empty()) {
        std::fprintf(stderr,
                     "tarnbook-cli new: the settings name no projects folder (SYSTEM/PROJECT)\n");
        return 1;
    }
    if (platform::pathExists(folder)) {
        std::fprintf(stderr, "tarnbook-cli new: %s exists already\n",
                     platform::nativePath(folder).c_str());
        return 1;
    }
    if (wizard.next(h.prompts, h.ws) != project::WizardForm::Step::ShowingPage2 ||
        wizard.next(h.prompts, h.ws) != project::WizardForm::Step::Created)
        return 1;
    // The first save writes the empty contents file, as after the wizard in the window.
    h.ws.saved = false;
    project::saveProject(h.ws);
    std::printf("%s\n", platform::nativePath(h.ws.projectFile()).c_str());
    return 0;
}

CliRegistration reg{{"new", "NAME [--template N]",
                     "create a project from a template (as the wizard would)", &runNew}};

}  // namespace
