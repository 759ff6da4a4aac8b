#pragma once
#include "ConsoleUi.h"
#include "platform/Files.h"
#include "project/Settings.h"
#include "project/Workspace.h"

// A workspace with console stand-ins and the app folder's settings (main() prepared them),
// for commands that work on a project without a window.
struct HeadlessWorkspace {
    explicit HeadlessWorkspace(tarnbook::ui::Answer answer = tarnbook::ui::Answer::Yes)
        : prompts(answer) {
        ws.settings = tarnbook::project::loadSettingsFile(tarnbook::platform::appFolder());
    }
    ConsolePrompts prompts;
    tarnbook::ui::NullPreview preview;
    tarnbook::ui::NullEditor editor;
    ConsoleStatus status;
    tarnbook::project::Workspace ws{prompts, preview, editor, status};
};
