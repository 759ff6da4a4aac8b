#pragma once
#include <memory>
#include <string>

#include "project/Workspace.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

namespace tarnbook::testing {

// A workspace wired to fakes, with a temporary folder for projects.
struct WorkspaceFixture {
    TempDir dir;
    FakePrompts prompts;
    FakePreview preview;
    FakeEditor editor;
    FakeStatus status;
    project::Workspace ws{prompts, preview, editor, status};

    // Writes a project file NAME.XHP (and an empty _RESOURCE) in dir/NAME with the given
    // extra [XHP] lines; returns the project file path.
    std::string makeProjectFile(const std::string& name,
                                const std::string& extraXhpLines = "Version=249\r\n") const;
};

}  // namespace tarnbook::testing
