#pragma once

// One HTTPS GET on a session of its own (no cookies, no cache kept or read),
// with a 30-second time-out. A reply from the server counts as arrived whatever
// its status: an error page is just a body that fails its check later.
//
// Threads: call on the main thread; `done` runs there later, exactly once,
// unless the bundle unloads first (see PendingWork).

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

namespace dravik_update {

inline constexpr int kRequestTimeoutMs = 30000;
// Neither a manifest nor a package comes near this; an endless body stops here.
inline constexpr qint64 kMaxDownloadBytes = 256ll << 20;

// `error` is empty when a body arrived, otherwise the reason.
using DownloadDone = std::function<void(const QByteArray& body, const QString& error)>;

void download(const QUrl& url, DownloadDone done);

}  // namespace dravik_update
