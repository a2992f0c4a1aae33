#include "ScriptText.h"

#include "KeyPosition.h"
#include "LineWords.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using Kind = ScriptCommand::Kind;

const std::map<QString, Kind>& commandNames() {
    static const std::map<QString, Kind> names{
        {QStringLiteral("add"), Kind::Add},
        {QStringLiteral("new-playlist"), Kind::NewPlaylist},
        {QStringLiteral("activate"), Kind::Activate},
        {QStringLiteral("play"), Kind::Play},
        {QStringLiteral("pause"), Kind::Pause},
        {QStringLiteral("resume"), Kind::Resume},
        {QStringLiteral("stop"), Kind::Stop},
        {QStringLiteral("next"), Kind::Next},
        {QStringLiteral("prev"), Kind::Prev},
        {QStringLiteral("seek"), Kind::Seek},
        {QStringLiteral("volume"), Kind::Volume},
        {QStringLiteral("order"), Kind::Order},
        {QStringLiteral("wait"), Kind::Wait},
        {QStringLiteral("wait-until"), Kind::WaitUntil},
        {QStringLiteral("click"), Kind::Click},
        {QStringLiteral("drag"), Kind::Drag},
        {QStringLiteral("drop"), Kind::Drop},
        {QStringLiteral("hover"), Kind::Hover},
        {QStringLiteral("key"), Kind::Key},
        {QStringLiteral("type"), Kind::Type},
        {QStringLiteral("menu"), Kind::Menu},
        {QStringLiteral("prefs"), Kind::Prefs},
        {QStringLiteral("appearance"), Kind::Appearance},
        {QStringLiteral("screenshot"), Kind::Screenshot},
        {QStringLiteral("dump"), Kind::Dump},
        {QStringLiteral("answer-alerts"), Kind::AnswerAlerts},
        {QStringLiteral("quit"), Kind::Quit},
    };
    return names;
}

const std::map<QString, int>& keyNames() {
    namespace vk = platform::vk;
    static const std::map<QString, int> names = [] {
        std::map<QString, int> m{
            {QStringLiteral("left"), vk::LeftArrow},    {QStringLiteral("right"), vk::RightArrow},
            {QStringLiteral("up"), vk::UpArrow},        {QStringLiteral("down"), vk::DownArrow},
            {QStringLiteral("return"), vk::Return},     {QStringLiteral("enter"), vk::KeypadEnter},
            {QStringLiteral("delete"), vk::Delete},     {QStringLiteral("forward-delete"), vk::ForwardDelete},
            {QStringLiteral("escape"), vk::Escape},     {QStringLiteral("tab"), vk::Tab},
            {QStringLiteral("space"), vk::Space},       {QStringLiteral("home"), vk::Home},
            {QStringLiteral("end"), vk::End},           {QStringLiteral("pageup"), vk::PageUp},
            {QStringLiteral("pagedown"), vk::PageDown},
        };
        const int letters[26] = {vk::A, vk::B, vk::C, vk::D, vk::E, vk::F, vk::G, vk::H, vk::I,
                                 vk::J, vk::K, vk::L, vk::M, vk::N, vk::O, vk::P, vk::Q, vk::R,
                                 vk::S, vk::T, vk::U, vk::V, vk::W, vk::X, vk::Y, vk::Z};
        for (int i = 0; i < 26; ++i) m[QString(QChar(u'a' + i))] = letters[i];
        const int digits[10] = {vk::Key0, vk::Key1, vk::Key2, vk::Key3, vk::Key4,
                                vk::Key5, vk::Key6, vk::Key7, vk::Key8, vk::Key9};
        for (int i = 0; i < 10; ++i) m[QString(QChar(u'0' + i))] = digits[i];
        const int functions[12] = {vk::F1, vk::F2, vk::F3, vk::F4,  vk::F5,  vk::F6,
                                   vk::F7, vk::F8, vk::F9, vk::F10, vk::F11, vk::F12};
        for (int i = 0; i < 12; ++i) m[QStringLiteral("f%1").arg(i + 1)] = functions[i];
        return m;
    }();
    return names;
}

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<qsizetype> index(const QString& text) {
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < 0) return std::nullopt;
    return qsizetype(v);
}

struct SyntaxError {
    QString message;
};

[[noreturn]] void fail(QString message) { throw SyntaxError{std::move(message)}; }

// Reads one command's arguments; a syntax error throws.
class Reader {
public:
    Reader(const QList<LineWord>& words) : m_words(words) {}

    qsizetype left() const { return m_words.size() - m_next; }
    QString word(const char* what) {
        if (m_next >= m_words.size()) fail(QStringLiteral("missing %1").arg(QLatin1String(what)));
        return m_words[m_next++].text;
    }
    QStringList rest() {
        QStringList out;
        while (m_next < m_words.size()) out.append(m_words[m_next++].text);
        return out;
    }
    // The rest of the line as one text, as a user types it: `order Shuffle
    // (tracks)` and `order "Shuffle (tracks)"` say the same.
    QString text(const char* what) {
        const QString t = rest().join(u' ');
        if (t.isEmpty()) fail(QStringLiteral("missing %1").arg(QLatin1String(what)));
        return t;
    }
    double num(const char* what, bool nonNegative = false) {
        const QString w = word(what);
        const auto v = number(w);
        if (!v) fail(QStringLiteral("%1 must be a number, got \"%2\"").arg(QLatin1String(what), w));
        if (nonNegative && *v < 0)
            fail(QStringLiteral("%1 must not be negative, got %2").arg(QLatin1String(what), w));
        return *v;
    }
    qsizetype idx(const char* what) {
        const QString w = word(what);
        const auto v = index(w);
        if (!v)
            fail(QStringLiteral("%1 must be a whole number from 0, got \"%2\"").arg(QLatin1String(what), w));
        return *v;
    }
    // `ELEMENT X Y` or `ELEMENT@TEXT`: the element and the first point in it.
    void target(ScriptCommand& c) {
        ScriptPoint p = elementPoint();
        c.element = p.element;
        p.element.reset();
        c.points = {p};
    }
    // A further point: `X Y` or `@TEXT` in the same element, or a point in
    // another one (`ELEMENT X Y`, `ELEMENT@TEXT`).
    ScriptPoint nextPoint() {
        if (left() > 0 && m_words[m_next].text.startsWith(u'@')) return child(word("point").mid(1));
        if (left() > 0 && !number(m_words[m_next].text)) return elementPoint();
        return {point(), {}, {}};
    }
    ScriptPoint elementPoint() {
        const QString w = word("element");
        if (w == u"window") return windowPoint();
        const qsizetype at = w.indexOf(u'@');
        const auto a = ElementAddress::parse(at < 0 ? w : w.left(at));
        if (!a)
            fail(QStringLiteral("not an element address (NAME, NAME#N, NAME#N@TEXT or window TITLE): \"%1\"")
                     .arg(w));
        ScriptPoint p = at < 0 ? ScriptPoint{point(), {}, {}} : child(w.mid(at + 1));
        p.element = *a;
        return p;
    }
    // `window TITLE X Y` or `window TITLE@TEXT`.
    ScriptPoint windowPoint() {
        const QString w = word("window title");
        const qsizetype at = w.indexOf(u'@');
        const QString title = at < 0 ? w : w.left(at);
        if (title.isEmpty()) fail(QStringLiteral("missing the window title"));
        ScriptPoint p = at < 0 ? ScriptPoint{point(), {}, {}} : child(w.mid(at + 1));
        p.element = ElementAddress{title, 0, true};
        return p;
    }
    // `hold S` after a point of a drag.
    void hold(ScriptPoint& p) {
        if (left() == 0 || m_words[m_next].text != u"hold") return;
        ++m_next;
        p.hold = num("hold seconds", true);
    }
    QPointF point() {
        const double x = num("x");
        const double y = num("y");
        return {x, y};
    }
    ScriptPoint child(const QString& name) {
        if (name.isEmpty()) fail(QStringLiteral("missing the accessible name after @"));
        return {{}, name, {}};
    }
    void end() {
        if (m_next < m_words.size()) fail(QStringLiteral("unexpected \"%1\"").arg(m_words[m_next].text));
    }

private:
    const QList<LineWord>& m_words;
    qsizetype m_next = 1;
};

void readArguments(Reader& r, ScriptCommand& c) {
    using Click = ScriptCommand::Click;
    using Condition = ScriptCommand::Condition;
    switch (c.kind) {
        case Kind::Add:
            c.paths = r.rest();
            if (c.paths.isEmpty()) fail(QStringLiteral("missing path"));
            break;
        case Kind::NewPlaylist:
            c.text = r.text("playlist name");
            break;
        case Kind::Activate:
            c.index = r.idx("playlist index");
            break;
        case Kind::Play:
            if (r.left() > 0) c.index = r.idx("item index");
            break;
        case Kind::Pause:
        case Kind::Resume:
        case Kind::Stop:
        case Kind::Next:
        case Kind::Prev:
        case Kind::Quit:
            break;
        case Kind::Seek:
            c.number = r.num("seconds", true);
            break;
        case Kind::Volume:
            c.number = r.num("decibels");
            break;
        case Kind::Order:
            c.text = r.text("playback order name");
            break;
        case Kind::Wait:
            c.number = r.num("seconds", true);
            break;
        case Kind::WaitUntil: {
            const QString cond = r.word("condition");
            static const QRegularExpression position(QStringLiteral("^position>=(.+)$"));
            if (cond == u"playing") {
                c.condition = Condition::Playing;
            } else if (cond == u"paused") {
                c.condition = Condition::Paused;
            } else if (cond == u"stopped") {
                c.condition = Condition::Stopped;
            } else if (const auto m = position.match(cond); m.hasMatch()) {
                const auto v = number(m.captured(1));
                if (!v)
                    fail(QStringLiteral("position must be a number of seconds, got \"%1\"")
                             .arg(m.captured(1)));
                c.condition = Condition::PositionAtLeast;
                c.number = *v;
            } else {
                fail(QStringLiteral("unknown condition \"%1\" (playing, paused, stopped, position>=S)")
                         .arg(cond));
            }
            c.timeout = ScriptText::kDefaultWaitTimeout;
            if (r.left() > 0) {
                c.timeout = r.num("time-out", true);
                if (c.timeout <= 0) fail(QStringLiteral("time-out must be more than 0 seconds"));
            }
            break;
        }
        case Kind::Click: {
            r.target(c);
            if (r.left() > 0) {
                const QString b = r.word("button");
                if (b == u"left")
                    c.click = Click::Left;
                else if (b == u"right")
                    c.click = Click::Right;
                else if (b == u"double")
                    c.click = Click::Double;
                else
                    fail(QStringLiteral("unknown click \"%1\" (left, right, double)").arg(b));
            }
            break;
        }
        case Kind::Drag:
            r.target(c);
            r.hold(c.points.last());
            do {
                c.points.append(r.nextPoint());
                r.hold(c.points.last());
            } while (r.left() > 0);
            break;
        case Kind::Drop:
            r.target(c);
            c.paths = r.rest();
            if (c.paths.isEmpty()) fail(QStringLiteral("missing path"));
            break;
        case Kind::Hover:
            r.target(c);
            break;
        case Kind::Key: {
            const QString k = r.word("key");
            const auto chord = KeyChord::parse(k);
            if (!chord) fail(QStringLiteral("unknown key \"%1\"").arg(k));
            c.key = *chord;
            break;
        }
        case Kind::Type:
            c.text = r.text("text");
            break;
        case Kind::Menu:
            c.text = r.text("menu path");
            if (!c.text.contains(u'/'))
                fail(QStringLiteral("a menu path is MENU/ITEM, got \"%1\"").arg(c.text));
            break;
        case Kind::Prefs:
            c.text = r.text("page name");
            break;
        case Kind::Appearance:
            c.text = r.word("appearance");
            if (c.text != u"light" && c.text != u"dark")
                fail(QStringLiteral("appearance is light or dark, got \"%1\"").arg(c.text));
            break;
        case Kind::Screenshot:
            c.text = r.word("file");
            if (r.left() > 0) {
                const QString target = r.word("element");
                if (target == u"preferences") {
                    c.ofPreferences = true;
                } else if (target == u"window") {
                    c.element = ElementAddress{r.text("window title"), 0, true};
                } else {
                    const auto a = ElementAddress::parse(target);
                    if (!a)
                        fail(QStringLiteral("not an element address (NAME or NAME#N): \"%1\"").arg(target));
                    c.element = *a;
                }
            }
            break;
        case Kind::Dump:
            c.text = r.word("file");
            break;
        case Kind::AnswerAlerts:
            c.index = r.idx("button number");
            if (*c.index < 1) fail(QStringLiteral("buttons are numbered from 1"));
            if (r.left() > 0) c.text = r.text("field text");
            break;
    }
    r.end();
}

}  // namespace

std::optional<ElementAddress> ElementAddress::parse(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^(.+?)(?:#(\\d+))?$"));
    const auto m = re.match(text);
    if (!m.hasMatch() || m.captured(1).isEmpty() || m.captured(1).contains(u'#')) return std::nullopt;
    ElementAddress a;
    a.name = m.captured(1);
    if (m.hasCaptured(2)) {
        bool ok = false;
        a.instance = m.captured(2).toInt(&ok);
        if (!ok) return std::nullopt;
    }
    return a;
}

std::optional<KeyChord> KeyChord::parse(const QString& text) {
    QStringList parts = text.toLower().split(u'+');
    const QString key = parts.takeLast();
    const auto found = keyNames().find(key);
    if (found == keyNames().end()) return std::nullopt;
    uint flags = 0;
    for (const QString& m : parts) {
        uint bit = 0;
        if (m == u"cmd")
            bit = platform::mods::Command;
        else if (m == u"shift")
            bit = platform::mods::Shift;
        else if (m == u"opt")
            bit = platform::mods::Option;
        else if (m == u"ctrl")
            bit = platform::mods::Control;
        if (bit == 0 || (flags & bit)) return std::nullopt;
        flags |= bit;
    }
    return KeyChord{found->second, platform::qtModifiers(flags)};
}

QDeadlineTimer ScriptText::deadline(double seconds) {
    // Far beyond any run, and still well inside the nanoseconds the clock adds up.
    constexpr double kLongestMs = 1e15;
    const double ms = std::ceil(std::max(0.0, seconds) * 1000);
    if (!(ms < kLongestMs)) return QDeadlineTimer(QDeadlineTimer::Forever);
    return QDeadlineTimer(qint64(ms));
}

ScriptText ScriptText::parse(const QString& text) {
    ScriptText out;
    LineWords::forEachLine(
        text,
        [&out](int lineNumber, const LineWords& words) {
            const QString name = words.words.first().text;
            const auto found = commandNames().find(name);
            if (found == commandNames().end()) {
                out.errors.append({lineNumber, QStringLiteral("unknown command \"%1\"").arg(name)});
                return;
            }
            ScriptCommand c;
            c.kind = found->second;
            c.line = lineNumber;
            Reader reader(words.words);
            try {
                readArguments(reader, c);
            } catch (const SyntaxError& e) {
                out.errors.append({lineNumber, QStringLiteral("%1: %2").arg(name, e.message)});
                return;
            }
            out.commands.append(std::move(c));
        },
        [&out](int lineNumber, const QString& error) {
            out.errors.append({lineNumber, error});
        });
    return out;
}
