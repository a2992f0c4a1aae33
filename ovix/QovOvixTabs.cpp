#include "QovOvixTabs.h"

#include "KeyPosition.h"
#include "OvixTabGeometry.h"
#include "OvixText.h"
#include "playlist_manager.h"
#include "QovOvixTabsView.h"
#include "std_api.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool editingText(const QWidget* w) {
    if (!w) return false;
    if (qobject_cast<const QLineEdit*>(w)) return true;
    if (auto* edit = qobject_cast<const QTextEdit*>(w)) return !edit->isReadOnly();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(w)) return !edit->isReadOnly();
    return false;
}

}  // namespace

QovOvixTabs::QovOvixTabs(QObject* parent) : qvn::ViewController(parent) {
    _timer.setInterval(kRefreshMs);
    connect(&_timer, &QTimer::timeout, this, &QovOvixTabs::refresh);
}

QovOvixTabs::~QovOvixTabs() {
    _timer.stop();
    if (_monitoring) qApp->removeEventFilter(this);
}

void QovOvixTabs::loadView() {
    _tabs = new QovOvixTabsView;
    setView(_tabs);
    refresh();
}

void QovOvixTabs::viewDidLoad() {
    _timer.start();
    if (qApp) {
        qApp->installEventFilter(this);
        _monitoring = true;
    }
}

void QovOvixTabs::refresh() {
    if (!_tabs) return;
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t count = pm->get_playlist_count();
    QStringList names;
    names.reserve(qsizetype(count));
    cvk::stringLite name;
    for (size_t i = 0; i < count; ++i) {
        name.reset();
        pm->playlist_get_name(i, name);
        names.append(str(name.str()));
    }
    if (names != _tabs->names()) _tabs->setNames(names);
    const size_t active = pm->get_active_playlist();
    const int shown = active == SIZE_MAX || active > size_t(INT_MAX) ? -1 : int(active);
    if (shown != _tabs->active()) _tabs->setActive(shown);
}

bool QovOvixTabs::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !_tabs) return false;
    // The window's own delivery comes first; the focus widget's is the one to take.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != _tabs->window()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers held =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (key->modifiers() & held) return false;
    if (editingText(QApplication::focusWidget())) return false;
    const int position = platform::keyPosition(*key);
    if (position != platform::vk::LeftArrow && position != platform::vk::RightArrow) return false;

    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t next = cycledPlaylist(pm->get_active_playlist(), pm->get_playlist_count(),
                                       position == platform::vk::LeftArrow ? -1 : 1);
    if (next != SIZE_MAX) {
        pm->set_active_playlist(next);
        refresh();
    }
    return true;
}
