#include "Download.h"

#include "PendingWork.h"
#include "UpdateEndpoints.h"

#include "MainQueue.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>

#include <memory>

namespace dravik_update {

namespace {

bool serverAnswered(const QNetworkReply& reply) {
    // 4xx and 5xx statuses come as errors; the body is still the server's answer.
    const int e = reply.error();
    const bool httpStatus =
        (e >= QNetworkReply::ContentAccessDenied && e <= QNetworkReply::UnknownContentError) ||
        (e >= QNetworkReply::InternalServerError && e <= QNetworkReply::UnknownServerError);
    return e == QNetworkReply::NoError ||
           (httpStatus && reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid());
}

}  // namespace

void download(const QUrl& url, DownloadDone done) {
    if (!isHttps(url)) {
        const QString error =
            url.isEmpty()
                ? QStringLiteral("The update address is missing.")
                : QStringLiteral("The address %1 is not an HTTPS address.").arg(url.toDisplayString());
        platform::async(pendingWork(), [done = std::move(done), error] { done({}, error); });
        return;
    }

    // A manager per transfer: nothing carries over from one to the next.
    QObject* owner = pendingWork();
    auto* session = new QNetworkAccessManager(owner);
    QNetworkRequest request(url);
    request.setTransferTimeout(kRequestTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    if (const auto extra = extraCaCertificates(); !extra.isEmpty()) {
        QSslConfiguration ssl = request.sslConfiguration();
        ssl.addCaCertificates(extra);
        request.setSslConfiguration(ssl);
    }

    QNetworkReply* reply = session->get(request);
    auto tooLarge = std::make_shared<bool>(false);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply, tooLarge](qint64 received, qint64) {
                         if (received <= kMaxDownloadBytes || *tooLarge) return;
                         *tooLarge = true;
                         reply->abort();
                     });
    QObject::connect(
        reply, &QNetworkReply::finished, session,
        [session, reply, tooLarge, owner = QPointer<QObject>(owner), done = std::move(done)] {
            session->deleteLater();
            if (!owner) return;
            if (*tooLarge) return done({}, QStringLiteral("The download is larger than an update can be."));
            if (serverAnswered(*reply)) return done(reply->readAll(), {});
            // The time-out is the only abort left; say so rather than "canceled".
            if (reply->error() == QNetworkReply::OperationCanceledError)
                return done({}, QStringLiteral("The request timed out."));
            done({}, reply->errorString());
        },
        Qt::SingleShotConnection);
}

}  // namespace dravik_update
