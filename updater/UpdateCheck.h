#pragma once

// The manifest's retrieval and each component's own daily check: at most once a
// day, a few seconds after start-up, look up the component's entry and offer a
// newer version. Main thread.

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace dravik_update {

inline constexpr int kStartUpDelayMs = 8000;
inline constexpr qint64 kCheckIntervalSecs = 24 * 60 * 60;

// User-defaults keys, one pair per component file name.
QString lastKey(const QString& fileName);  // QDateTime of the last manifest received
QString skipKey(const QString& fileName);  // version the user chose to skip

// Whether a check is due, given what is stored under the "last" key. A date in
// the future (a clock set back) does not hold checks off.
bool checkIsDue(const QVariant& last, const QDateTime& now);

// `manifest` when the reply was a JSON object; otherwise `error` says why, or
// is empty when the reply was JSON of another shape.
using ManifestDone = std::function<void(const std::optional<QJsonObject>& manifest, const QString& error)>;
void fetchManifest(ManifestDone done);

// Fetches the manifest; when it arrives, stores now under lastKey and offers a
// newer entry of this component. A failed fetch changes nothing.
void autoCheck(const QString& lastKey, const QString& fileName, const QString& version,
               const QString& displayName);

// The start-up hook: schedules autoCheck when it is due, and returns at once.
void checkAfterStartUp(const QString& fileName, const QString& version, const QString& displayName);

}  // namespace dravik_update
