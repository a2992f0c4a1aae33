#include "Manifest.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringList>

#include <limits>

namespace dravik_update {

ManifestReply parseManifest(const QByteArray& body) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) return {std::nullopt, error.errorString()};
    if (!doc.isObject()) return {};
    return {doc.object(), {}};
}

QString str(const QJsonObject& object, const QString& key) {
    const QJsonValue v = object.value(key);
    return v.isString() ? v.toString() : QString();
}

int64_t versionPart(const QString& part) {
    qsizetype i = 0;
    while (i < part.size() && part[i].isSpace()) ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == u'-' || part[i] == u'+')) negative = part[i++] == u'-';
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (; i < part.size() && part[i] >= u'0' && part[i] <= u'9'; ++i) {
        const int digit = part[i].unicode() - u'0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

int compareVersions(const QString& a, const QString& b) {
    const QStringList pa = a.split(u'.');
    const QStringList pb = b.split(u'.');
    for (qsizetype i = 0; i < qMax(pa.size(), pb.size()); ++i) {
        const int64_t x = i < pa.size() ? versionPart(pa[i]) : 0;
        const int64_t y = i < pb.size() ? versionPart(pb[i]) : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

std::optional<QJsonObject> newerEntry(const QJsonObject& manifest, const QString& fileName,
                                      const QString& currentVersion) {
    const QJsonValue v = manifest.value(fileName);
    if (!v.isObject()) return std::nullopt;
    const QJsonObject entry = v.toObject();
    const QString version = str(entry, QStringLiteral("version"));
    if (version.isNull() || compareVersions(currentVersion, version) >= 0) return std::nullopt;
    return entry;
}

bool isInstallable(const QJsonObject& entry) {
    return !str(entry, QStringLiteral("file")).isNull() && str(entry, QStringLiteral("sha256")).size() == 64;
}

}  // namespace dravik_update
