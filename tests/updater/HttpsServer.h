#pragma once

// A loopback HTTPS server for the updater's tests, on the test's main thread
// (tests wait by running the event loop). Its certificate is made by openssl
// when the first server starts; clients trust it through caFile().

#include <QByteArray>
#include <QMap>
#include <QSslCertificate>
#include <QSslKey>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

#include <functional>

class QSslSocket;

class HttpsServer : public QTcpServer {
    Q_OBJECT

public:
    HttpsServer();

    // Empty when openssl failed: the reason is in error().
    QUrl base() const;
    QString error() const { return m_error; }
    static QString caFile();

    void serve(const QString& path, const QByteArray& body, int status = 200);
    // Accepts, shakes hands, reads the request, and says nothing.
    void neverAnswer(const QString& path);
    QUrl url(const QString& path) const;

    // Paths asked for, in order.
    QStringList requests() const { return m_requests; }
    // Called with each path as it is asked for.
    std::function<void(const QString&)> onRequest;

protected:
    void incomingConnection(qintptr socket) override;

private:
    struct Reply {
        QByteArray body;
        int status = 200;
        bool silent = false;
    };
    void answer(QSslSocket& socket, const QByteArray& request);

    QMap<QString, Reply> m_replies;
    QStringList m_requests;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QString m_error;
};
