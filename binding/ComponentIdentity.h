#pragma once

namespace qvn {

// What a deliverable calls itself; the updater compares `version` with the manifest.
struct ComponentIdentity {
    const char* fileName;     // bundle name without extension
    const char* version;
    const char* displayName;
    const char* about;
};

// Defined once by each deliverable's main source file.
extern const ComponentIdentity g_identity;

}  // namespace qvn
