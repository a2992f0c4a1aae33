#pragma once

#include "sdk_export.h"

// The only fatal stops: reached when the host breaks its contract (missing API,
// failed cast, call off the main thread). Never for user input.
void QOV_SDK_API uAddDebugEvent(const char* msg);
[[noreturn]] void QOV_SDK_API uBugCheck();

namespace qvn {
[[noreturn]] void QOV_SDK_API crashWithMessage(const char* msg);
}
