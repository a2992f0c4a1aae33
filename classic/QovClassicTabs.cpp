#include "QovClassicTabs.h"

#include "Beep.h"
#include "ClosedTracker.h"
#include "DisplayText.h"
#include "KeyPosition.h"
#include "playlist_manager.h"
#include "QovClassicTabsAccessible.h"
#include "QovClassicTabsView.h"
#include "std_api.h"
#include "TabShortcuts.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

auto manager() { return qvn::std_api_get<playlist_manager>(); }

// A field being typed in keeps its keys.
bool isTextEditing(const QWidget* w) {
    if (!w) return false;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
        qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
        return true;
    const auto* combo = qobject_cast<const QComboBox*>(w);
    return combo && combo->isEditable();
}

void activate(size_t playlist) {
    if (playlist != SIZE_MAX) manager()->set_active_playlist(playlist);
}

}  // namespace

// Sees every key of the application before its menus' shortcuts do. Keys that
// are the strip's are taken: their shortcut-override asks the menus to stand
// back, and their press acts.
class QovClassicTabs::KeyMonitor : public QObject {
public:
    explicit KeyMonitor(QovClassicTabs& owner) : _owner(owner) { qApp->installEventFilter(this); }
    ~KeyMonitor() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !watched->isWidgetType())
            return false;
        QWidget* strip = _owner._tabs;
        const auto* target = static_cast<QWidget*>(watched);
        if (!strip || target->window() != strip->window()) return false;
        if (isTextEditing(strip->window()->focusWidget())) return false;

        const auto& key = *static_cast<QKeyEvent*>(event);
        const int position = platform::keyPosition(key);
        const unsigned modifiers =
            platform::macModifierFlags(key.modifiers()) & platform::mods::DeviceIndependentMask;
        if (type == QEvent::ShortcutOverride) {
            if (!takes(position, modifiers)) return false;
            event->accept();
            return true;
        }
        if (modifiers) return _owner.handleShortcut(position, modifiers);
        const int step = tab_shortcuts::arrowStep(position);
        if (step == 0) return false;
        auto pm = manager();
        if (const size_t count = pm->get_playlist_count(); count > 0) {
            activate(tab_shortcuts::stepped(pm->get_active_playlist(), count, step));
            _owner.refresh();
        }
        return true;
    }

private:
    static bool takes(int position, unsigned modifiers) {
        if (modifiers)
            return tab_shortcuts::shortcutFor(position, modifiers).action != tab_shortcuts::Action::None;
        return tab_shortcuts::arrowStep(position) != 0;
    }

    QovClassicTabs& _owner;
};

QovClassicTabs::QovClassicTabs(QObject* parent) : qvn::ViewController(parent) {
    _timer.setInterval(kPollMs);
    connect(&_timer, &QTimer::timeout, this, &QovClassicTabs::refresh);
}

QovClassicTabs::~QovClassicTabs() = default;

void QovClassicTabs::loadView() {
    QovClassicTabsAccessible::install();
    _tabs = new QovClassicTabsView;
    _tabs->setAccessibleName(QStringLiteral("Playlist Tabs"));
    _tabs->resize(400, int(TabStripLayout::kHeight));
    _tabs->setDropIndex(QovClassicTabsView::kNoDrop);
    _tabs->setFixedHeight(int(TabStripLayout::kHeight));
    setView(_tabs);
    refresh();
}

void QovClassicTabs::viewDidLoad() {
    _timer.start();
    _prefsObserver = platform::NotificationCenter::defaultCenter().subscribe(
        platform::kClassicUIPrefsChanged, this, [this](const platform::Notification&) {
            if (_tabs) _tabs->settingsChanged();
        });
    _keyMonitor = std::make_unique<KeyMonitor>(*this);
}

void QovClassicTabs::refresh() {
    if (!_tabs) return;
    auto pm = manager();
    const size_t count = pm->get_playlist_count();
    QStringList names;
    std::vector<bool> locked;
    names.reserve(qsizetype(count));
    locked.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        cvk::stringLite name;
        pm->playlist_get_name(i, name);
        names.append(textOf(name));
        locked.push_back(pm->playlist_lock_is_present(i));
    }
    if (locked != _tabs->locked()) _tabs->setLocked(locked);
    const size_t active = pm->get_active_playlist();
    if (names != _tabs->names()) _tabs->setNames(names);
    const int shown = active == SIZE_MAX ? -1 : int(active);
    if (shown != _tabs->active()) _tabs->setActive(shown);
}

bool QovClassicTabs::handleShortcut(int keyPosition, unsigned modifiers) {
    using tab_shortcuts::Action;
    const tab_shortcuts::Shortcut shortcut = tab_shortcuts::shortcutFor(keyPosition, modifiers);
    auto pm = manager();
    const size_t count = pm->get_playlist_count();
    switch (shortcut.action) {
        case Action::None:
            return false;
        case Action::Activate:
            activate(tab_shortcuts::activated(shortcut.index, count));
            break;
        case Action::ActivateLast:
            activate(tab_shortcuts::activated(SIZE_MAX, count));
            break;
        case Action::ShowPlaying: {
            size_t playlist = SIZE_MAX, item = SIZE_MAX;
            if (!pm->get_playing_item_location(playlist, item)) {
                platform::beep();
                return true;
            }
            pm->set_active_playlist(playlist);
            pm->playlist_set_selection(playlist, bit_array_true(), bit_array_one(item));
            pm->playlist_set_focus_item(playlist, item);
            pm->playlist_ensure_visible(playlist, item);
            return true;
        }
        case Action::NewPlaylist:
            QovClassicTabsView::newPlaylist();
            return true;
        case Action::RestoreClosed:
            restoreClosed(SIZE_MAX);
            return true;
        case Action::CloseActive: {
            const size_t active = pm->get_active_playlist();
            if (active != SIZE_MAX && !pm->remove_playlist_switch(active)) platform::beep();
            return true;
        }
    }
    refresh();
    return true;
}
