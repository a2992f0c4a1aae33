#pragma once

// The tracks of the last copy or cut in any Classic playlist, so that a paste
// in this application inserts the very tracks copied, in any playlist; and
// the clipboard's change count right after that copy wrote its files there:
// when it has moved on, another program copied since, and a paste takes the
// clipboard's files instead. Main thread.

#include "metadb_handle.h"

#include <QtGlobal>

extern metadb_handle_list g_clipboard;
extern qint64 g_clipboardChange;
