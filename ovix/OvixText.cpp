#include "OvixText.h"

#include "std_api.h"

#include <QStringDecoder>

#include <cmath>
#include <cstdint>
#include <cstring>

service_ptr_t<titleformat_object> compileTF(const char* pattern) {
    return qvn::std_api_get<titleformat_compiler>()->compile_safe(pattern);
}

QString str(const char* utf8) { return str(std::string_view(utf8 ? utf8 : "")); }

QString str(std::string_view utf8) {
    QString text = QStringLiteral("");
    appendUtf8(text, utf8);
    return text;
}

namespace {

// Eight bytes at a time: rebuilding a long playlist asks this of every text.
bool isAscii(std::string_view text) {
    uint64_t high = 0;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        high |= word;
    }
    for (; i < text.size(); ++i) high |= static_cast<unsigned char>(text[i]);
    return (high & 0x8080808080808080ull) == 0;
}

}  // namespace

void appendUtf8(QString& to, std::string_view utf8) {
    // Most tags are plain ASCII: taken as they are, at a fraction of decoding's cost.
    if (isAscii(utf8)) {
        to.append(QLatin1StringView(utf8.data(), qsizetype(utf8.size())));
        return;
    }
    // A leading byte-order mark is text the host gave us, not an encoding hint.
    QStringDecoder decode(QStringDecoder::Utf8,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decode(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
    if (!decode.hasError()) to.append(text);
}

QString formatDuration(double seconds) {
    // Beyond any real playlist: a corrupt length must not overflow the integer.
    constexpr double kLongest = 1e15;
    long s = 0;
    if (std::isfinite(seconds) && seconds > 0 && seconds < kLongest) s = long(seconds + 0.5);
    if (s >= 86400)
        return QString::asprintf("%ld:%02ld:%02ld:%02ld", s / 86400, (s / 3600) % 24, (s / 60) % 60, s % 60);
    if (s >= 3600) return QString::asprintf("%ld:%02ld:%02ld", s / 3600, (s / 60) % 60, s % 60);
    return QString::asprintf("%ld:%02ld", s / 60, s % 60);
}
