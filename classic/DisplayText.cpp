#include "DisplayText.h"

#include <QStringDecoder>

QString textOf(const cvk::string_base& utf8) {
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decode(QByteArrayView(utf8.get_ptr(), qsizetype(utf8.get_length())));
    return decode.hasError() ? QString() : text;
}

QString displayLocation(QString text, const QString& home) {
    if (text.startsWith(QLatin1String("file://"))) text.remove(0, 7);
    if (!home.isEmpty() && text.startsWith(home) && (text.size() == home.size() || text[home.size()] == u'/'))
        text.replace(0, home.size(), u'~');
    return text;
}

QString menuItemText(QString text) { return text.replace(u'&', QLatin1String("&&")); }
