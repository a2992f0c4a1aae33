// What each automation command does (the sequencing is in ScriptRunner.cpp).

#include "ScriptRunner.h"

#include "AccessibleTree.h"
#include "Console.h"
#include "LayoutView.h"
#include "MainMenuBuilder.h"
#include "MainWindow.h"
#include "PreferencesWindow.h"
#include "StateDump.h"
#include "WindowShot.h"

#include "playback_control.h"
#include "playlist_manager.h"
#include "std_api.h"
#include "SystemColors.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <cmath>
#include <memory>

namespace {

using Kind = ScriptCommand::Kind;

const char* serviceName(const playback_control*) { return "playback_control"; }
const char* serviceName(const playlist_manager*) { return "playlist_manager"; }

// The host's service, or null with `error` saying it is missing.
template <class T>
service_ptr_t<T> need(QString* error) {
    service_ptr_t<T> s;
    if (!qvn::_standard_api_try_get_internal(s))
        *error = QStringLiteral("the host has no %1 service").arg(QLatin1String(serviceName((T*)nullptr)));
    return s;
}

QString shortNumber(double s) { return QString::number(s, 'g', 6); }

}  // namespace

QString ScriptRunner::resolve(const QString& path) const {
    if (path.contains(QLatin1String("://"))) return path;
    return QDir::cleanPath(QFileInfo(m_file).absoluteDir().absoluteFilePath(path));
}

QWidget* ScriptRunner::elementView(const ElementAddress& address, QString* error) const {
    // Windows beside the layout that a script reaches like elements.
    if (address.window) {
        QStringList shown;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (w->windowTitle() == address.name) return w;
            shown.append(QStringLiteral("\"%1\"").arg(w->windowTitle()));
        }
        *error =
            QStringLiteral("no window \"%1\" is open (there are %2)").arg(address.name, shown.join(u", "));
        return nullptr;
    }
    if (address.name == kPreferencesWindow) {
        QWidget* window = m_window.preferencesWindow();
        if (window && window->isVisible()) return window;
        *error = QStringLiteral("the preferences window is not open");
        return nullptr;
    }
    if (address.name == kPopup) {
        if (QWidget* popup = QApplication::activePopupWidget()) return popup;
        *error = QStringLiteral("no menu or list is open");
        return nullptr;
    }
    const LayoutView::Element* e = m_window.layoutView().find(address);
    if (!e) {
        QStringList names;
        for (const auto& placed : m_window.layoutView().elements())
            if (!placed.name.isEmpty()) names.append(ElementAddress{placed.name, placed.instance}.text());
        *error = QStringLiteral("no element %1 in the layout (it has %2)")
                     .arg(address.text(), names.isEmpty() ? QStringLiteral("none") : names.join(u", "));
        return nullptr;
    }
    if (e->isPlaceholder()) {
        *error = QStringLiteral("%1 is a placeholder: %2").arg(address.text(), e->problem);
        return nullptr;
    }
    if (!e->widget) {
        *error = QStringLiteral("%1 has no view any more").arg(address.text());
        return nullptr;
    }
    return e->widget;
}

ScriptRunner::Outcome ScriptRunner::run(const ScriptCommand& c) {
    QString error;
    switch (c.kind) {
        case Kind::Add:
            return add(c);

        case Kind::NewPlaylist: {
            const auto pm = need<playlist_manager>(&error);
            if (!pm) return Outcome::failed(error);
            const QByteArray name = c.text.toUtf8();
            const size_t made = pm->create_playlist(name.constData(), size_t(name.size()), SIZE_MAX);
            if (made == SIZE_MAX)
                return Outcome::failed(QStringLiteral("the playlist manager refused the playlist"));
            pm->set_active_playlist(made);
            return Outcome::next();
        }

        case Kind::Activate: {
            const auto pm = need<playlist_manager>(&error);
            if (!pm) return Outcome::failed(error);
            const size_t count = pm->get_playlist_count();
            if (size_t(*c.index) >= count)
                return Outcome::failed(
                    QStringLiteral("no playlist %1 (there are %2)").arg(*c.index).arg(count));
            pm->set_active_playlist(size_t(*c.index));
            return Outcome::next();
        }

        case Kind::Play: {
            const auto pc = need<playback_control>(&error);
            if (!pc) return Outcome::failed(error);
            if (!c.index) {
                pc->start(playback_control::track_command_play);
                return Outcome::next();
            }
            const auto pm = need<playlist_manager>(&error);
            if (!pm) return Outcome::failed(error);
            const size_t playlist = pm->get_active_playlist();
            if (playlist >= pm->get_playlist_count())
                return Outcome::failed(QStringLiteral("no playlist is active"));
            const size_t count = pm->playlist_get_item_count(playlist);
            if (size_t(*c.index) >= count)
                return Outcome::failed(
                    QStringLiteral("no item %1 in the active playlist (it has %2)").arg(*c.index).arg(count));
            pm->playlist_set_focus_item(playlist, size_t(*c.index));
            pc->start(playback_control::track_command_settrack);
            return Outcome::next();
        }

        case Kind::Pause:
        case Kind::Resume:
        case Kind::Stop:
        case Kind::Next:
        case Kind::Prev: {
            const auto pc = need<playback_control>(&error);
            if (!pc) return Outcome::failed(error);
            if (c.kind == Kind::Pause) pc->pause(true);
            if (c.kind == Kind::Resume) pc->pause(false);
            if (c.kind == Kind::Stop) pc->stop();
            if (c.kind == Kind::Next) pc->start(playback_control::track_command_next);
            if (c.kind == Kind::Prev) pc->start(playback_control::track_command_prev);
            return Outcome::next();
        }

        case Kind::Seek: {
            const auto pc = need<playback_control>(&error);
            if (!pc) return Outcome::failed(error);
            if (!pc->is_playing()) return Outcome::failed(QStringLiteral("nothing is playing"));
            if (!pc->playback_can_seek())
                return Outcome::failed(QStringLiteral("the playing track cannot be seeked"));
            pc->playback_seek(c.number);
            return Outcome::next();
        }

        case Kind::Volume: {
            const auto pc = need<playback_control>(&error);
            if (!pc) return Outcome::failed(error);
            pc->set_volume(float(c.number));
            return Outcome::next();
        }

        case Kind::Order: {
            const auto pm = need<playlist_manager>(&error);
            if (!pm) return Outcome::failed(error);
            QStringList names;
            for (size_t i = 0; i < pm->playback_order_get_count(); ++i) {
                const char* name = pm->playback_order_get_name(i);
                names.append(QString::fromUtf8(name ? name : ""));
            }
            qsizetype found = names.indexOf(c.text);
            for (qsizetype i = 0; found < 0 && i < names.size(); ++i)
                if (names[i].compare(c.text, Qt::CaseInsensitive) == 0) found = i;
            if (found < 0)
                return Outcome::failed(
                    QStringLiteral("no playback order \"%1\" (there are %2)").arg(c.text, names.join(u", ")));
            pm->playback_order_set_active(size_t(found));
            return Outcome::next();
        }

        case Kind::Wait:
            return waitFor({{}, ScriptText::deadline(c.number), {}, {}});

        case Kind::WaitUntil:
            return waitUntil(c);

        case Kind::Click:
        case Kind::Hover:
            return pointer(c);

        case Kind::Drag:
            return drag(c);

        case Kind::Drop:
            return drop(c);

        case Kind::Key:
            m_input.key(c.key, &m_window);
            return Outcome::next();

        case Kind::Type:
            m_input.type(c.text, &m_window);
            return Outcome::next();

        case Kind::Menu:
            return menu(c);

        case Kind::Prefs:
            if (!m_window.showPreferences(c.text)) {
                return Outcome::failed(
                    QStringLiteral("no preferences page \"%1\" (there are %2)")
                        .arg(c.text, m_window.preferencesWindow()->pageNames().join(u", ")));
            }
            return Outcome::next();

        case Kind::Appearance:
            platform::SystemColors::forceAppearance(c.text == u"dark" ? platform::Appearance::DarkAqua
                                                                      : platform::Appearance::Aqua);
            return Outcome::next();

        case Kind::Screenshot:
            return screenshot(c);

        case Kind::Dump:
            return dump(c);

        case Kind::AnswerAlerts:
            m_alertButton = *c.index;
            m_alertButtonLine = c.line;
            m_alertText = c.text;
            return Outcome::next();

        case Kind::Quit:
            return {Outcome::Quit, {}};
    }
    return Outcome::failed(QStringLiteral("unknown command"));
}

ScriptRunner::Outcome ScriptRunner::add(const ScriptCommand& c) {
    QStringList locations;
    for (const QString& p : c.paths) locations.append(resolve(p));
    m_added.reset();
    TrackAdder::add(locations, TrackAdder::Mode::Append, &m_window, this,
                    [this](const TrackAdder::Result& r) { m_added = r; });
    Wait wait;
    wait.until = [this] { return m_added.has_value(); };
    wait.deadline = QDeadlineTimer(qint64(kAddTimeoutSeconds) * 1000);
    wait.timeoutError = QStringLiteral("add: no tracks came back within %1 s").arg(kAddTimeoutSeconds);
    wait.then = [this, locations]() -> QString {
        const TrackAdder::Result r = *m_added;
        if (!r.ok) return QStringLiteral("add: %1").arg(r.error);
        if (r.added == 0) return QStringLiteral("add: no playable track in %1").arg(locations.join(u", "));
        m_console.print(QStringLiteral("Script: added %1 track(s)").arg(r.added).toStdString());
        return {};
    };
    return waitFor(std::move(wait));
}

ScriptRunner::Outcome ScriptRunner::waitUntil(const ScriptCommand& c) {
    using Condition = ScriptCommand::Condition;
    QString error;
    if (!need<playback_control>(&error)) return Outcome::failed(error);
    const Condition condition = c.condition;
    const double threshold = c.number;
    if (condition == Condition::Playing && !m_trackWatch)
        return Outcome::failed(QStringLiteral("the host has no play_callback_manager service"));
    auto holds = [this, condition, threshold] {
        service_ptr_t<playback_control> pc;
        if (!qvn::_standard_api_try_get_internal(pc)) return false;
        switch (condition) {
            case Condition::Playing:
                // Started is not yet playing: until its decoder has opened the
                // track cannot seek, and until a first frame is heard it is silent.
                return pc->is_playing() && !pc->is_paused() && trackOpened() &&
                       pc->playback_get_position() > 0;
            case Condition::Paused:
                return pc->is_paused();
            case Condition::Stopped:
                return !pc->is_playing();
            case Condition::PositionAtLeast:
                return pc->is_playing() && pc->playback_get_position() >= threshold;
        }
        return false;
    };
    static const char* const names[] = {"playing", "paused", "stopped", "position>="};
    QString what = QLatin1String(names[int(condition)]);
    if (condition == Condition::PositionAtLeast) what += shortNumber(threshold);
    return waitFor({holds,
                    ScriptText::deadline(c.timeout),
                    QStringLiteral("timed out after %1 s waiting for %2").arg(shortNumber(c.timeout), what),
                    {}});
}

std::optional<QPointF> ScriptRunner::pointIn(QWidget* view, const ElementAddress& address,
                                             const ScriptPoint& p, QString* error) const {
    const QRectF bounds(view->rect());
    if (p.child.isEmpty()) {
        if (bounds.contains(p.at)) return p.at;
        *error = QStringLiteral("%1, %2 is outside %3 (%4 x %5)")
                     .arg(shortNumber(p.at.x()), shortNumber(p.at.y()), address.text())
                     .arg(view->width())
                     .arg(view->height());
        return std::nullopt;
    }
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(view);
    const auto child = AccessibleTree::find(tree, p.child);
    if (!child) {
        constexpr int kNamesShown = 10;
        const QStringList names = AccessibleTree::names(tree, kNamesShown);
        *error = QStringLiteral("%1 has no accessible child named \"%2\" (%3)")
                     .arg(address.text(), p.child,
                          names.isEmpty() ? QStringLiteral("it has none with a name")
                                          : QStringLiteral("it has %1").arg(names.join(u", ")));
        return std::nullopt;
    }
    const QPointF centre = child->center();
    if (bounds.contains(centre)) return centre;
    // A row scrolled out of view, say: pressing there would hit something else.
    *error = QStringLiteral("the accessible child \"%1\" of %2 lies outside it (centre at %3, %4)")
                 .arg(p.child, address.text(), shortNumber(centre.x()), shortNumber(centre.y()));
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::pointer(const ScriptCommand& c) {
    QString error;
    QPointer<QWidget> view = elementView(*c.element, &error);
    if (!view) return Outcome::failed(error);
    const auto at = pointIn(view, *c.element, c.points[0], &error);
    if (!at) return Outcome::failed(error);
    const Kind kind = c.kind;
    const ScriptCommand::Click click = c.click;
    deliver([this, view, kind, click, at = *at] {
        if (!view) return;
        if (kind == Kind::Hover)
            m_input.hover(view, at);
        else if (click == ScriptCommand::Click::Double)
            m_input.doubleClick(view, at);
        else
            m_input.click(view, at, click == ScriptCommand::Click::Right ? Qt::RightButton : Qt::LeftButton);
    });
    return Outcome::next();
}

ScriptRunner::Outcome ScriptRunner::drag(const ScriptCommand& c) {
    QString error;
    QList<InputSimulator::DragStop> stops;
    // Why a point was not there when the pointer got to it; that fails the script.
    auto lost = std::make_shared<QString>();
    ElementAddress address = *c.element;
    double held = 0;
    for (const ScriptPoint& p : c.points) {
        // A point without an element lies in the one of the point before.
        if (p.element) address = *p.element;
        QPointer<QWidget> view = elementView(address, &error);
        if (!view) return Outcome::failed(error);
        InputSimulator::DragStop stop;
        stop.view = view;
        stop.holdMs = int(std::lround(p.hold * 1000));
        stop.aim = [this, view, address, p, lost]() -> std::optional<QPointF> {
            QString why;
            const auto at = view ? pointIn(view, address, p, &why) : std::nullopt;
            if (!at && lost->isEmpty()) *lost = why;
            return at;
        };
        stops.append(stop);
        held += p.hold;
    }
    auto done = std::make_shared<bool>(false);
    const int line = c.line;
    deliver([this, stops, lost, done, line] {
        const QString problem = m_input.drag(stops);
        *done = true;
        if (!problem.isEmpty() && lost->isEmpty())
            m_console.print(QStringLiteral("Script %1 line %2: the drag ended without a drop: %3")
                                .arg(m_file)
                                .arg(line)
                                .arg(problem)
                                .toStdString());
    });
    // A drag that holds runs the application meanwhile, as a user holding still.
    const double limit = held + ScriptText::kDefaultWaitTimeout;
    return waitFor({[done] { return *done; }, ScriptText::deadline(limit),
                    QStringLiteral("drag: not over after %1 s").arg(shortNumber(limit)),
                    [lost] { return *lost; }});
}

ScriptRunner::Outcome ScriptRunner::drop(const ScriptCommand& c) {
    QString error;
    QWidget* view = elementView(*c.element, &error);
    if (!view) return Outcome::failed(error);
    const auto at = pointIn(view, *c.element, c.points[0], &error);
    if (!at) return Outcome::failed(error);
    QList<QUrl> urls;
    for (const QString& p : c.paths) {
        const QString path = resolve(p);
        urls.append(path.contains(QLatin1String("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
    }
    auto data = std::make_shared<QMimeData>();
    data->setUrls(urls);
    const InputSimulator::DropTarget target = m_input.enterDrop(view, *at, *data);
    if (!target.error.isEmpty())
        return Outcome::failed(QStringLiteral("%1: %2").arg(c.element->text(), target.error));
    const int line = c.line;
    deliver([this, target, data, line] {
        if (!m_input.finishDrop(target, *data))
            m_console.print(QStringLiteral("Script %1 line %2: the drop was not taken")
                                .arg(m_file)
                                .arg(line)
                                .toStdString());
    });
    return Outcome::next();
}

ScriptRunner::Outcome ScriptRunner::menu(const ScriptCommand& c) {
    QAction* action = m_window.menus().find(c.text);
    if (!action) return Outcome::failed(QStringLiteral("no menu item %1").arg(c.text));
    if (!action->isEnabled()) return Outcome::failed(QStringLiteral("menu item %1 is disabled").arg(c.text));
    if (action->menu()) return Outcome::failed(QStringLiteral("%1 is a submenu, not an item").arg(c.text));
    // Queued, as a click in the menu would be: an item that opens a modal
    // dialog must not stop the script from going on inside it.
    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
    return Outcome::next();
}

ScriptRunner::Outcome ScriptRunner::screenshot(const ScriptCommand& c) {
    QWidget* target = &m_window;
    QString error;
    if (c.ofPreferences) {
        target = m_window.preferencesWindow();
        if (!target || !target->isVisible())
            return Outcome::failed(QStringLiteral("the preferences window is not open"));
    } else if (c.element) {
        target = elementView(*c.element, &error);
        if (!target) {
            // A placeholder can be pictured too: it shows why the element is missing.
            const LayoutView::Element* e =
                c.element->window ? nullptr : m_window.layoutView().find(*c.element);
            if (!e || !e->widget) return Outcome::failed(error);
            target = e->widget;
        }
    }
    if (!WindowShot::save(*target, resolve(c.text), true, &error)) return Outcome::failed(error);
    return Outcome::next();
}

ScriptRunner::Outcome ScriptRunner::dump(const ScriptCommand& c) {
    const std::vector<std::string> lines = m_console.lines();
    QStringList tail;
    for (size_t i = lines.size() > size_t(StateDump::kConsoleTail) ? lines.size() - StateDump::kConsoleTail
                                                                   : 0;
         i < lines.size(); ++i)
        tail.append(QString::fromStdString(lines[i]));
    const QJsonObject state = StateDump::collect(m_window.dumpInfo(), tail);

    const QString file = resolve(c.text);
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return Outcome::failed(QStringLiteral("cannot create the folder of %1").arg(file));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(QJsonDocument(state).toJson(QJsonDocument::Indented)) < 0 || !out.flush())
        return Outcome::failed(QStringLiteral("cannot write %1: %2").arg(file, out.errorString()));
    return Outcome::next();
}
