#pragma once

// The order a file browser lists names in: by the user's locale, ignoring case,
// runs of digits compared by value ("Track 2" before "Track 10"). Texts that
// differ only in case or in leading zeros still get a fixed order, so that 0
// means the texts are the same. Any thread.

#include "platform_export.h"

#include <QString>

namespace platform {

// Negative when a sorts first, positive when b does, 0 when they are the same.
QOV_PLATFORM_API int compareNumeric(const QString& a, const QString& b);

}  // namespace platform
