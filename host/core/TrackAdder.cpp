#include "TrackAdder.h"

#include "playlist_incoming_item_filter.h"
#include "playlist_manager.h"
#include "std_api.h"

#include <QPointer>
#include <QTimer>

#include <memory>

namespace {

void later(QObject* guard, std::function<void()> fn) {
    if (guard)
        QTimer::singleShot(0, guard, std::move(fn));
    else
        QTimer::singleShot(0, std::move(fn));
}

TrackAdder::Result failure(QString error) {
    TrackAdder::Result r;
    r.error = std::move(error);
    return r;
}

}  // namespace

size_t TrackAdder::activeOrDefaultPlaylist(QString* error) {
    service_ptr_t<playlist_manager> pm;
    if (!qvn::_standard_api_try_get_internal(pm)) {
        if (error) *error = QStringLiteral("the host has no playlist_manager service");
        return SIZE_MAX;
    }
    const size_t active = pm->get_active_playlist();
    if (active < pm->get_playlist_count()) return active;
    const size_t made = pm->create_playlist(kDefaultPlaylistName, SIZE_MAX, SIZE_MAX);
    if (made == SIZE_MAX) {
        if (error) *error = QStringLiteral("the playlist manager refused to create a playlist");
        return SIZE_MAX;
    }
    pm->set_active_playlist(made);
    return made;
}

void TrackAdder::add(const QStringList& locations, Mode mode, QWidget* parent, QObject* guard,
                     std::function<void(const Result&)> done) {
    service_ptr_t<playlist_incoming_item_filter_v2> filter;
    service_ptr_t<playlist_manager> pm;
    QString error;
    if (!qvn::_standard_api_try_get_internal(pm))
        error = QStringLiteral("the host has no playlist_manager service");
    else if (!qvn::_standard_api_try_get_internal(filter))
        error = QStringLiteral("the host has no playlist_incoming_item_filter_v2 service");
    const size_t target = error.isEmpty() ? activeOrDefaultPlaylist(&error) : SIZE_MAX;
    if (!error.isEmpty()) {
        later(guard, [done, error] { done(failure(error)); });
        return;
    }

    std::vector<std::string> paths;
    for (const QString& l : locations) paths.push_back(l.toStdString());

    // The notify may come after the caller has gone; only the guard says.
    QPointer<QObject> alive(guard);
    const bool guarded = guard != nullptr;
    auto finish = [alive, guarded, done](const Result& r) {
        if (guarded && !alive) return;
        done(r);
    };
    auto notify = process_locations_notify::create(
        [finish, target, mode](const metadb_handle_list& items) {
            service_ptr_t<playlist_manager> pm;
            if (!qvn::_standard_api_try_get_internal(pm)) return;
            if (target >= pm->get_playlist_count()) {
                finish(failure(QStringLiteral("the playlist went away before the tracks arrived")));
                return;
            }
            if (mode == Mode::Replace && pm->playlist_get_item_count(target) > 0 &&
                !pm->playlist_remove_items(target, bit_array_true())) {
                finish(failure(QStringLiteral("the playlist refused to be cleared")));
                return;
            }
            Result r;
            r.playlist = target;
            if (!items.empty()) {
                r.first = pm->playlist_add_items(target, items, bit_array_false());
                if (r.first == SIZE_MAX) {
                    finish(failure(QStringLiteral("the playlist refused the tracks")));
                    return;
                }
            }
            r.ok = true;
            r.added = items.size();
            finish(r);
        },
        [finish] { finish(failure(QStringLiteral("adding was cancelled"))); });
    filter->process_locations_async(paths, playlist_incoming_item_filter_v2::op_flag_background, nullptr,
                                    nullptr, parent, notify);
}
