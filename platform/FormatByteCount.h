#pragma once

// A file size as people read it in a file browser: decimal units (1 KB = 1000
// bytes), "Zero KB" for nothing, "1 byte" and "532 bytes" below a kilobyte,
// whole kilobytes ("8 KB"), megabytes to one decimal ("1.5 MB", "8 MB"),
// gigabytes and above to two ("1.23 GB"); trailing zeros dropped. Any thread.

#include "platform_export.h"

#include <QString>

namespace platform {

QOV_PLATFORM_API QString formatByteCount(qint64 bytes);

}  // namespace platform
