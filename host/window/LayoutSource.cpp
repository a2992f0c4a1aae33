#include "LayoutSource.h"

#include "LineWords.h"

#include <QFile>
#include <QStringDecoder>

namespace {

struct Builtin {
    const char* name;
    const char* text;
};

// Top to bottom; the playlist is the element that takes the spare height.
constexpr Builtin kBuiltins[] = {
    {"classic",
     "# Windows-style player: transport, tabs, playlist, waveform, status.\n"
     "classic-toolbar\n"
     "classic-tabs\n"
     "classic-playlist\n"
     "waveform-seekbar time=sides\n"
     "classic-statusbar\n"},
    {"ovix",
     "# Ovix-style player: now playing on top, totals and search below.\n"
     "ovix-header\n"
     "waveform-seekbar\n"
     "ovix-tabs\n"
     "ovix-playlist\n"
     "ovix-footer\n"},
};

}  // namespace

QStringList LayoutSource::builtinNames() {
    QStringList names;
    for (const Builtin& b : kBuiltins) names.append(QString::fromLatin1(b.name));
    return names;
}

QString LayoutSource::builtinText(const QString& name) {
    for (const Builtin& b : kBuiltins)
        if (name == QLatin1String(b.name)) return QString::fromUtf8(b.text);
    return {};
}

LayoutSource LayoutSource::resolve(const QString& nameOrFile) {
    LayoutSource source;
    source.name = nameOrFile;
    source.text = builtinText(nameOrFile);
    if (!source.text.isEmpty()) return source;

    QFile file(nameOrFile);
    if (!nameOrFile.isEmpty() && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        QStringDecoder utf8(QStringDecoder::Utf8);
        source.text = utf8(bytes);
        // Read as lines, a binary file would fill the window with placeholders.
        if (utf8.hasError() || bytes.contains('\0')) {
            source.text.clear();
            source.error =
                QStringLiteral("\"%1\" is not a layout: not UTF-8 text").arg(shownText(nameOrFile));
        }
        return source;
    }
    source.error = QStringLiteral("no built-in layout and no readable file named \"%1\" (built in: %2)")
                       .arg(shownText(nameOrFile), builtinNames().join(QStringLiteral(", ")));
    return source;
}
