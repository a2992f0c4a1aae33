#pragma once

// Bundles compile with hidden visibility and share this one library with the
// host; everything they use from it must be exported.
#define QOV_PLATFORM_API __attribute__((visibility("default")))
