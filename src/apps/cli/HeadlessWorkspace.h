#pragma once
#include "ConsoleUi.h"
#include "project/Workspace.h"

// A workspace with console stand-ins, for commands that work on a project without a window.
struct HeadlessWorkspace {
    explicit HeadlessWorkspace(tarnbook::ui::Answer answer = tarnbook::ui::Answer::Yes)
        : prompts(answer) {}
    ConsolePrompts prompts;
    tarnbook::ui::NullPreview preview;
    tarnbook::ui::NullEditor editor;
    ConsoleStatus status;
    tarnbook::project::Workspace ws{prompts, preview, editor, status};
};
