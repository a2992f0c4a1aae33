#include "HttpsServer.h"

#include <QFile>
#include <QProcess>
#include <QSslSocket>
#include <QTemporaryDir>

namespace {

struct Credentials {
    QString certFile;
    QString keyFile;
    QString error;
};

const Credentials& credentials() {
    static QTemporaryDir dir;
    static const Credentials made = [] {
        Credentials c{dir.filePath(QStringLiteral("cert.pem")), dir.filePath(QStringLiteral("key.pem")), {}};
        QProcess openssl;
        openssl.start(
            QStringLiteral("openssl"),
            {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
             QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"),
             QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
             QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
             QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"), c.keyFile,
             QStringLiteral("-out"), c.certFile});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
            c.error = QStringLiteral("openssl: ") + QString::fromLocal8Bit(openssl.readAllStandardError()) +
                      openssl.errorString();
        return c;
    }();
    return made;
}

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

HttpsServer::HttpsServer() {
    const Credentials& c = credentials();
    m_error = c.error;
    if (!m_error.isEmpty()) return;
    m_certificate = QSslCertificate(readAll(c.certFile));
    m_key = QSslKey(readAll(c.keyFile), QSsl::Ec);
    if (!listen(QHostAddress::LocalHost)) m_error = errorString();
}

QUrl HttpsServer::base() const {
    return m_error.isEmpty() ? QUrl(QStringLiteral("https://127.0.0.1:%1").arg(serverPort())) : QUrl();
}

QString HttpsServer::caFile() { return credentials().certFile; }

QUrl HttpsServer::url(const QString& path) const {
    QUrl u = base();
    u.setPath(path);
    return u;
}

void HttpsServer::serve(const QString& path, const QByteArray& body, int status) {
    m_replies[path] = {body, status, false};
}

void HttpsServer::neverAnswer(const QString& path) { m_replies[path] = {{}, 0, true}; }

void HttpsServer::incomingConnection(qintptr descriptor) {
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setLocalCertificate(m_certificate);
    socket->setPrivateKey(m_key);
    connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QSslSocket::readyRead, this, [this, socket] {
        QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (request.contains("\r\n\r\n")) answer(*socket, request);
    });
    socket->startServerEncryption();
}

void HttpsServer::answer(QSslSocket& socket, const QByteArray& request) {
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() > 1 ? QString::fromUtf8(requestLine[1]) : QString();
    m_requests << path;
    if (onRequest) onRequest(path);
    const auto it = m_replies.constFind(path);
    const Reply reply = it == m_replies.cend() ? Reply{"<html>Not Found</html>", 404, false} : *it;
    if (reply.silent) return;
    socket.write("HTTP/1.1 " + QByteArray::number(reply.status) +
                 " Whatever\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                 QByteArray::number(reply.body.size()) + "\r\nConnection: close\r\n\r\n" + reply.body);
    socket.disconnectFromHost();
}
