#pragma once

// Where an edit command goes: from a widget (normally the first responder, the
// focus widget) up through its parents to its window; the first widget that
// takes the command is its target and alone decides whether it can be done now.
// A widget takes a command when it is an EditResponder that responds to it or,
// failing that, a stock widget that has it: line edits and text edits take all
// seven commands, item views Select All. Main thread.

#include "EditResponder.h"
#include "platform_export.h"

class QWidget;

namespace platform {

class QOV_PLATFORM_API ResponderChain {
public:
    // The focus widget, else the active window; null when the application is
    // not active.
    static QWidget* firstResponder();

    // Whether the target from `from` can do the action now; false without one.
    static bool validate(EditAction action, QWidget* from);
    // Does the action when its target can; false, and nothing done, otherwise.
    static bool perform(EditAction action, QWidget* from);
};

}  // namespace platform
