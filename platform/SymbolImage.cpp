#include "SymbolImage.h"

#include <QCache>
#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QSvgRenderer>

#include <vector>

namespace platform {

namespace {

// Glyphs are drawn on a 24-unit grid on which one point of size is 1/20: a
// 20 pt symbol is drawn at one device-independent pixel per unit.
constexpr qreal kUnitsPerPoint = 20.0;

enum class Paint { Fill, Rounded, Stroke };

// One SVG element and how it is painted, in black.
struct Shape {
    Paint paint;
    qreal width;
    const char* element;
};

Shape fill(const char* element) {
    return {Paint::Fill, 0, element};
}
// Filled and outlined at once: corners come out rounded by half the width.
Shape rounded(qreal width, const char* element) {
    return {Paint::Rounded, width, element};
}
Shape stroke(qreal width, const char* element) {
    return {Paint::Stroke, width, element};
}

using Layer = std::vector<Shape>;

struct Glyph {
    const char* name;
    Layer body;
    Layer cut = {};   // erased from the body: the gap where lines cross
    Layer over = {};  // drawn after the cut
    // Glyphs of one group share their bounds, so that swapping one for another
    // in a button moves nothing.
    const char* group = "";
};

const std::vector<Glyph>& glyphs() {
    const Shape speaker = rounded(1.8, R"(<path d="M3.4 9.1 H6.9 L11.6 5 V19 L6.9 14.9 H3.4 Z"/>)");
    const Shape wave1 = stroke(2, R"(<path d="M14.6 9.4 A3.6 3.6 0 0 1 14.6 14.6"/>)");
    const Shape wave2 = stroke(2, R"(<path d="M17.3 6.6 A7.6 7.6 0 0 1 17.3 17.4"/>)");
    const Shape slash = stroke(2, R"(<path d="M3.2 3.6 L18.6 20.4"/>)");
    const Shape slashGap = stroke(5, R"(<path d="M3.2 3.6 L18.6 20.4"/>)");
    const Layer repeat = {
        stroke(2, R"(<path d="M4 12.4 V10.2 A3.5 3.5 0 0 1 7.5 6.7 H19.2"/>)"),
        stroke(2, R"(<path d="M16.4 3.9 L19.2 6.7 L16.4 9.5"/>)"),
        stroke(2, R"(<path d="M20 11.6 V13.8 A3.5 3.5 0 0 1 16.5 17.3 H4.8"/>)"),
        stroke(2, R"(<path d="M7.6 14.5 L4.8 17.3 L7.6 20.1"/>)"),
    };
    Layer repeatOne = repeat;
    repeatOne.push_back(stroke(1.6, R"(<path d="M11 10.6 L12.4 9.7 V14.3"/>)"));
    const char* rising = R"(<path d="M3.5 17 H6.4 C10.6 17 11.8 7 16.2 7 H19.6"/>)";
    const char* falling = R"(<path d="M3.5 7 H6.4 C10.6 7 11.8 17 16.2 17 H19.6"/>)";
    const Shape chevronUp = stroke(2.2, R"(<path d="M6.5 14.75 L12 9.25 L17.5 14.75"/>)");
    const Shape chevronDown = stroke(2.2, R"(<path d="M6.5 9.25 L12 14.75 L17.5 9.25"/>)");

    static const std::vector<Glyph> all{
        {"play.fill", {rounded(2.4, R"(<path d="M7.2 5.2 L18.6 12 L7.2 18.8 Z"/>)")}},
        {"pause.fill",
         {fill(R"(<rect x="6" y="4.8" width="4.3" height="14.4" rx="1.3"/>)"),
          fill(R"(<rect x="13.7" y="4.8" width="4.3" height="14.4" rx="1.3"/>)")}},
        {"stop.fill", {fill(R"(<rect x="5.2" y="5.2" width="13.6" height="13.6" rx="2.6"/>)")}},
        {"backward.end.fill",
         {fill(R"(<rect x="4.4" y="5.4" width="2.6" height="13.2" rx="1.1"/>)"),
          rounded(2.2, R"(<path d="M19.2 6.3 L10.2 12 L19.2 17.7 Z"/>)")}},
        {"forward.end.fill",
         {fill(R"(<rect x="17" y="5.4" width="2.6" height="13.2" rx="1.1"/>)"),
          rounded(2.2, R"(<path d="M4.8 6.3 L13.8 12 L4.8 17.7 Z"/>)")}},
        {"backward.fill",
         {rounded(2, R"(<path d="M11.4 7 L3.4 12 L11.4 17 Z"/>)"),
          rounded(2, R"(<path d="M20.6 7 L12.6 12 L20.6 17 Z"/>)")}},
        {"forward.fill",
         {rounded(2, R"(<path d="M3.4 7 L11.4 12 L3.4 17 Z"/>)"),
          rounded(2, R"(<path d="M12.6 7 L20.6 12 L12.6 17 Z"/>)")}},
        {"eject.fill",
         {rounded(2.2, R"(<path d="M12 5 L19.4 13 H4.6 Z"/>)"),
          fill(R"(<rect x="3.5" y="16" width="17" height="3.2" rx="1.2"/>)")}},
        {"shuffle",
         {stroke(2, falling), stroke(2, R"(<path d="M16.8 14.2 L19.6 17 L16.8 19.8"/>)")},
         {stroke(5.2, rising)},
         {stroke(2, rising), stroke(2, R"(<path d="M16.8 4.2 L19.6 7 L16.8 9.8"/>)")}},
        {"repeat", repeat, {}, {}, "repeat"},
        {"repeat.1", repeatOne, {}, {}, "repeat"},
        {"speaker.fill", {speaker}, {}, {}, "speaker"},
        {"speaker.wave.1.fill", {speaker, wave1}, {}, {}, "speaker"},
        {"speaker.wave.2.fill", {speaker, wave1, wave2}, {}, {}, "speaker"},
        {"speaker.slash.fill", {speaker}, {slashGap}, {slash}, "speaker"},
        {"lock.fill",
         {stroke(2.2, R"(<path d="M8.2 10.6 V7.8 A3.8 3.8 0 0 1 15.8 7.8 V10.6"/>)"),
          fill(R"(<rect x="5.4" y="10.4" width="13.2" height="10" rx="2"/>)")}},
        {"music.note",
         {fill(R"svg(<ellipse cx="8.6" cy="17.4" rx="3.7" ry="2.9"
                     transform="rotate(-22 8.6 17.4)"/>)svg"),
          fill(R"(<rect x="10.9" y="3.6" width="1.9" height="14" rx="0.6"/>)"),
          stroke(2, R"(<path d="M11.9 4.2 C12.6 7.2 18.4 7.6 17.4 12.6"/>)")}},
        {"plus", {stroke(2.2, R"(<path d="M12 5 V19 M5 12 H19"/>)")}, {}, {}, "plusminus"},
        {"minus", {stroke(2.2, R"(<path d="M5 12 H19"/>)")}, {}, {}, "plusminus"},
        {"xmark", {stroke(2.2, R"(<path d="M6.5 6.5 L17.5 17.5 M17.5 6.5 L6.5 17.5"/>)")}},
        {"xmark.circle.fill",
         {fill(R"(<circle cx="12" cy="12" r="9"/>)")},
         {stroke(2.4, R"(<path d="M8.6 8.6 L15.4 15.4 M15.4 8.6 L8.6 15.4"/>)")}},
        {"magnifyingglass",
         {stroke(2.2, R"(<circle cx="10.4" cy="10.4" r="5.9"/>)"),
          stroke(2.8, R"(<path d="M14.8 14.8 L19.6 19.6"/>)")}},
        {"chevron.up", {chevronUp}, {}, {}, "chevron"},
        {"chevron.down", {chevronDown}, {}, {}, "chevron"},
        // The table header's sort arrows go by these image names.
        {"NSAscendingSortIndicator", {chevronUp}, {}, {}, "chevron"},
        {"NSDescendingSortIndicator", {chevronDown}, {}, {}, "chevron"},
    };
    return all;
}

QByteArray svgOf(const Layer& layer) {
    QByteArray svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" )"
                     R"(viewBox="0 0 24 24">)";
    for (const Shape& shape : layer) {
        const QByteArray width = QByteArray::number(shape.width);
        switch (shape.paint) {
        case Paint::Fill:
            svg += R"(<g fill="#000">)";
            break;
        case Paint::Rounded:
            svg += R"(<g fill="#000" stroke="#000" stroke-linejoin="round" stroke-width=")" +
                   width + R"(">)";
            break;
        case Paint::Stroke:
            svg += R"(<g fill="none" stroke="#000" stroke-linecap="round" )"
                   R"(stroke-linejoin="round" stroke-width=")" +
                   width + R"(">)";
            break;
        }
        svg += shape.element;
        svg += "</g>";
    }
    return svg + "</svg>";
}

const Glyph* findGlyph(const QString& name) {
    for (const Glyph& g : glyphs())
        if (name == QLatin1String(g.name)) return &g;
    return nullptr;
}

// One layer in black, the unit rectangle box filling target inside a canvas.
QImage renderLayer(const Layer& layer, const QRectF& box, const QSize& canvas,
                   const QRectF& target) {
    QImage image(canvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (layer.empty()) return image;
    QSvgRenderer renderer(svgOf(layer));
    renderer.setViewBox(box);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, target);
    return image;
}

QImage renderGlyph(const Glyph& glyph, const QRectF& box, const QSize& canvas,
                   const QRectF& target) {
    QImage image = renderLayer(glyph.body, box, canvas, target);
    QPainter painter(&image);
    if (!glyph.cut.empty()) {
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.drawImage(0, 0, renderLayer(glyph.cut, box, canvas, target));
    }
    if (!glyph.over.empty()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(0, 0, renderLayer(glyph.over, box, canvas, target));
    }
    return image;
}

// The drawn extent in units, found by drawing it large.
QRectF inkBounds(const Glyph& glyph) {
    constexpr int kScale = 10;
    const QSize canvas(24 * kScale, 24 * kScale);
    const QImage image = renderGlyph(glyph, QRectF(0, 0, 24, 24), canvas, QRectF(QPoint(), canvas));
    int left = canvas.width(), top = canvas.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < 128) continue;
            left = qMin(left, x);
            right = qMax(right, x);
            top = qMin(top, y);
            bottom = qMax(bottom, y);
        }
    }
    if (right < 0) return {};
    return QRectF(qreal(left) / kScale, qreal(top) / kScale, qreal(right - left + 1) / kScale,
                  qreal(bottom - top + 1) / kScale);
}

QMutex g_mutex;

// Bounds of the glyph, shared with its group.
QRectF glyphBounds(const Glyph& glyph) {
    static QHash<QString, QRectF> bounds;
    QMutexLocker lock(&g_mutex);
    const QString key = QLatin1String(*glyph.group ? glyph.group : glyph.name);
    if (const auto it = bounds.constFind(key); it != bounds.cend()) return *it;
    QRectF box;
    for (const Glyph& g : glyphs()) {
        const bool member = *glyph.group ? qstrcmp(g.group, glyph.group) == 0 : &g == &glyph;
        if (member) box = box.united(inkBounds(g));
    }
    bounds.insert(key, box);
    return box;
}

}  // namespace

QImage symbolImage(const QString& name, qreal pointSize, const QColor& color,
                   qreal devicePixelRatio) {
    const Glyph* glyph = findGlyph(name);
    if (!glyph || !(pointSize > 0) || !(devicePixelRatio > 0)) return {};

    const QString key = QStringLiteral("%1|%2|%3|%4")
                            .arg(name)
                            .arg(pointSize)
                            .arg(color.rgba(), 8, 16)
                            .arg(devicePixelRatio);
    static QCache<QString, QImage> cache(512);
    {
        QMutexLocker lock(&g_mutex);
        if (const QImage* hit = cache.object(key)) return *hit;
    }

    const QRectF box = glyphBounds(*glyph);
    const qreal pixelsPerUnit = pointSize / kUnitsPerPoint * devicePixelRatio;
    // The outline is fitted to whole pixels (stretching by under half a pixel),
    // so that the outer edges come out sharp instead of half-covered.
    const QSize canvas(qMax(1, qRound(box.width() * pixelsPerUnit)),
                       qMax(1, qRound(box.height() * pixelsPerUnit)));
    QImage image = renderGlyph(*glyph, box, canvas, QRectF(QPointF(), canvas));

    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);

    QMutexLocker lock(&g_mutex);
    cache.insert(key, new QImage(image));
    return image;
}

QIcon symbolIcon(const QString& name, qreal pointSize, const QColor& color) {
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        const QImage image = symbolImage(name, pointSize, color, ratio);
        if (image.isNull()) return {};
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

bool hasSymbol(const QString& name) {
    return findGlyph(name) != nullptr;
}

QStringList symbolNames() {
    QStringList names;
    for (const Glyph& g : glyphs()) names.append(QLatin1String(g.name));
    return names;
}

}  // namespace platform
