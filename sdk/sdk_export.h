#pragma once

// Bundles compile with hidden visibility; whatever they use from the shared SDK
// library (and the exception types that cross module boundaries) must say so.
#define QOV_SDK_API __attribute__((visibility("default")))
