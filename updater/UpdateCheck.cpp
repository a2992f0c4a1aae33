#include "UpdateCheck.h"

#include "Download.h"
#include "Manifest.h"
#include "PendingWork.h"
#include "UpdateEndpoints.h"
#include "UpdateOffer.h"

#include "MainQueue.h"

#include <QSettings>

namespace dravik_update {

QString lastKey(const QString& fileName) { return QStringLiteral("dravik.update.%1.last").arg(fileName); }

QString skipKey(const QString& fileName) { return QStringLiteral("dravik.update.%1.skip").arg(fileName); }

bool checkIsDue(const QVariant& last, const QDateTime& now) {
    if (last.typeId() != QMetaType::QDateTime) return true;
    const qint64 age = last.toDateTime().secsTo(now);
    return age < 0 || age >= kCheckIntervalSecs;
}

void fetchManifest(ManifestDone done) {
    download(manifestUrl(), [done = std::move(done)](const QByteArray& body, const QString& error) {
        if (!error.isEmpty() || body.isEmpty()) return done(std::nullopt, error);
        const ManifestReply reply = parseManifest(body);
        done(reply.manifest, reply.error);
    });
}

void autoCheck(const QString& lastKey, const QString& fileName, const QString& version,
               const QString& displayName) {
    fetchManifest([=](const std::optional<QJsonObject>& manifest, const QString&) {
        if (!manifest) return;
        QSettings().setValue(lastKey, QDateTime::currentDateTimeUtc());
        if (const auto entry = newerEntry(*manifest, fileName, version))
            showUpdate(fileName, displayName, version, *entry, false);
    });
}

void checkAfterStartUp(const QString& fileName, const QString& version, const QString& displayName) {
    const QString key = lastKey(fileName);
    if (!checkIsDue(QSettings().value(key), QDateTime::currentDateTimeUtc())) return;
    platform::after(kStartUpDelayMs, pendingWork(), [=] { autoCheck(key, fileName, version, displayName); });
}

}  // namespace dravik_update
