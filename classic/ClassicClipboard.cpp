#include "ClassicClipboard.h"

metadb_handle_list g_clipboard;
qint64 g_clipboardChange = 0;
