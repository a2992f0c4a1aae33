#pragma once

// The automation language of `--script FILE`: one command a line, with the
// quoting and comments of LineWords. Parsing checks every line's syntax before
// anything runs, so a typo on the last line costs nothing. Any thread.

#include <QDeadlineTimer>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>

// `NAME#N`: the Nth element of that layout name, counted from 0 in layout
// order; a bare NAME is #0. `window TITLE` (`window` set): the open window of
// that title beside the layout's, such as the library search.
struct ElementAddress {
    QString name;
    int instance = 0;
    bool window = false;

    QString text() const {
        return window ? QStringLiteral("window \"%1\"").arg(name)
                      : QStringLiteral("%1#%2").arg(name).arg(instance);
    }
    static std::optional<ElementAddress> parse(const QString& text);

    bool operator==(const ElementAddress&) const = default;
};

// A key by its position (platform::vk) and the Qt modifiers typed with it;
// `cmd` is Qt's Control and `ctrl` Qt's Meta, as platform::qtModifiers maps
// the Mac's flags.
struct KeyChord {
    int position = -1;
    Qt::KeyboardModifiers modifiers;

    // `[cmd+][shift+][opt+][ctrl+]KEY`, modifiers in any order, each once.
    static std::optional<KeyChord> parse(const QString& text);
};

// Where a pointer command acts in its element: a point in the element, or
// (`child` set) the centre of its first accessible child of that name. The
// later points of a drag may lie in another element (`element` set), and the
// button may stay down at each for a while (`hold`, seconds).
struct ScriptPoint {
    QPointF at;
    QString child;
    std::optional<ElementAddress> element = std::nullopt;
    double hold = 0;

    bool operator==(const ScriptPoint&) const = default;
};

struct ScriptCommand {
    enum class Kind {
        Add,
        NewPlaylist,
        Activate,
        Play,
        Pause,
        Resume,
        Stop,
        Next,
        Prev,
        Seek,
        Volume,
        Order,
        Wait,
        WaitUntil,
        Click,
        Drag,
        Drop,
        Hover,
        Key,
        Type,
        Menu,
        Prefs,
        Appearance,
        Screenshot,
        Dump,
        AnswerAlerts,
        Quit,
    };
    enum class Click { Left, Right, Double };
    enum class Condition { Playing, Paused, Stopped, PositionAtLeast };

    Kind kind = Kind::Quit;
    int line = 0;

    QStringList paths;  // add, drop
    QString text;       // names, menu path, typed text, file, light|dark, alert field text
    std::optional<ElementAddress> element;
    QList<ScriptPoint> points;  // click, hover, drop: one; drag: two or more
    Click click = Click::Left;
    double number = 0;               // seconds, decibels, position threshold
    double timeout = 0;              // wait-until, seconds
    std::optional<qsizetype> index;  // activate, play ITEM, answer-alerts
    Condition condition = Condition::Playing;
    KeyChord key;
    bool ofPreferences = false;  // screenshot FILE preferences
};

struct ScriptError {
    int line = 0;
    QString message;
};

struct ScriptText {
    static constexpr double kDefaultWaitTimeout = 10.0;

    QList<ScriptCommand> commands;
    QList<ScriptError> errors;

    static ScriptText parse(const QString& text);
    // When a wait of `seconds` from now ends; a wait longer than the clock can
    // count never does.
    static QDeadlineTimer deadline(double seconds);
};
