#pragma once

// The maker's update manifest: a JSON object from component file name to an
// entry of optional strings ("version", "file", "sha256", "notes", "url"), and
// the version rule that decides whether an entry is newer. Plain logic, any
// thread.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace dravik_update {

struct ManifestReply {
    std::optional<QJsonObject> manifest;  // absent unless the body is a JSON object
    QString error;                        // the parse error; empty for JSON of another shape
};

ManifestReply parseManifest(const QByteArray& body);

// The member's value when it is a string, otherwise a null string.
QString str(const QJsonObject& object, const QString& key);

// A version part read the way the manifest's versions have always been read:
// leading white space, an optional sign, digits up to the first other
// character; no digits reads as 0. Saturates instead of overflowing.
int64_t versionPart(const QString& part);

// Negative when a is older than b, 0 when the same, positive when newer. Parts
// compare as numbers (0.8 < 0.10) and missing parts count as 0 (1 == 1.0.0).
int compareVersions(const QString& a, const QString& b);

// The component's entry when its version is newer than currentVersion.
std::optional<QJsonObject> newerEntry(const QJsonObject& manifest, const QString& fileName,
                                      const QString& currentVersion);

// A package that can be installed in place rather than a page to visit: an
// address and a digest of exactly 64 characters.
bool isInstallable(const QJsonObject& entry);

}  // namespace dravik_update
