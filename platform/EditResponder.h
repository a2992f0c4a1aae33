#pragma once

// The standard edit commands and the contract of a view that takes them
// itself. The host's Edit menu (and its shortcuts) sends each command to the
// focused widget and on up through its parents until one takes it; the first
// that takes it also says whether it can be done now, which enables the item.
// Stock line edits, text edits and item views answer for themselves
// (ResponderChain); a custom view implements this interface on its widget:
//
//   class PlaylistTable : public QTableView, public platform::EditResponder { ... };
//
// An action a view does not take goes to its stock handling (a table's own
// Select All), then to its parent. Main thread.

#include "platform_export.h"

namespace platform {

enum class EditAction { Undo, Redo, Cut, Copy, Paste, Delete, SelectAll };

class QOV_PLATFORM_API EditResponder {
public:
    virtual ~EditResponder();

    // Whether the view takes the action at all; fixed for its life.
    virtual bool respondsToEditAction(EditAction action) const = 0;
    // Whether it can do it now; asked only for actions it takes.
    virtual bool validateEditAction(EditAction action) const = 0;
    // Asked only after the action validated.
    virtual void performEditAction(EditAction action) = 0;
};

}  // namespace platform
