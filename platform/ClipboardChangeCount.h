#pragma once

// A number that grows whenever the general clipboard's contents change, by this
// application or another, so that a view can tell whether what it wrote is
// still there: keep the count right after writing, compare it later. Only
// differences mean anything. Main thread.

#include "platform_export.h"

#include <QtGlobal>

namespace platform {

QOV_PLATFORM_API qint64 clipboardChangeCount();

}  // namespace platform
