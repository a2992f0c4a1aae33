// The update manifest as any server, or anyone between it and the player,
// may send it; and the version rule, which must order versions consistently
// or an offer could come back after it was taken.

#include "FuzzTarget.h"

#include "Manifest.h"

#include <QJsonObject>
#include <QStringList>

#include <cstdlib>

using namespace dravik_update;

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

void checkOrder(const QStringList& versions) {
    for (const QString& a : versions) {
        if (compareVersions(a, a) != 0) std::abort();
        for (const QString& b : versions) {
            const int ab = sign(compareVersions(a, b));
            if (ab != -sign(compareVersions(b, a))) std::abort();
            for (const QString& c : versions)
                if (ab <= 0 && sign(compareVersions(b, c)) <= 0 && compareVersions(a, c) > 0) std::abort();
        }
    }
}

}  // namespace

QOV_FUZZ_TARGET(update_manifest) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList versions = QString::fromUtf8(body).split(u'\n').mid(0, 8);
    const ManifestReply reply = parseManifest(body);
    if (reply.manifest) {
        for (auto it = reply.manifest->begin(); it != reply.manifest->end(); ++it) {
            if (const auto entry = newerEntry(*reply.manifest, it.key(), QStringLiteral("0.9.1"))) {
                isInstallable(*entry);
                for (const char* key : {"file", "sha256", "notes", "url"}) str(*entry, QLatin1String(key));
            }
            if (versions.size() < 16 && it.value().isObject())
                versions.append(str(it.value().toObject(), QStringLiteral("version")));
        }
    }
    checkOrder(versions);
    return 0;
}
