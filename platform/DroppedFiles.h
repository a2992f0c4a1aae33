#pragma once

// The local files a drop or a paste carries, as the paths the player opens.
// The payload comes from any program: anything that does not name one local
// file plainly is left out rather than guessed at. Any thread.

#include "platform_export.h"

#include <string>
#include <vector>

class QMimeData;

namespace platform {

// In the order given. A path with a NUL in it is left out: opening it would
// open the file its first part names.
QOV_PLATFORM_API std::vector<std::string> droppedFiles(const QMimeData& data);

}  // namespace platform
