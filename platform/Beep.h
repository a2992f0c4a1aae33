#pragma once

// The platform's alert sound: the answer to something the user asked for
// directly that cannot be done. Main thread.

#include "platform_export.h"

#include <functional>

namespace platform {

QOV_PLATFORM_API void beep();

// Called instead of the sound while set, so tests and automation can tell a
// refusal from nothing happening. An empty hook brings the sound back.
QOV_PLATFORM_API void setBeepHook(std::function<void()> hook);

}  // namespace platform
