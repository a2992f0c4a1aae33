#include "StateDump.h"

#include "playback_control.h"
#include "playlist_manager.h"
#include "std_api.h"

#include <QJsonArray>

namespace {

// The playlist manager cannot list a playlist's properties, so the dump asks
// for the ones components are known to store.
struct KnownProperty {
    GUID guid;
};
constexpr KnownProperty kKnownProperties[] = {
    // The Classic UI's playlist lock marker.
    {{0x6A0C4D93, 0x7E21, 0x4B58, {0x9F, 0x36, 0xD1, 0x84, 0x2B, 0x5E, 0x70, 0xA9}}},
};

QJsonValue indexOrNull(size_t index) {
    return index == SIZE_MAX ? QJsonValue(QJsonValue::Null) : QJsonValue(qint64(index));
}

QJsonValue pathOf(const service_ptr_t<metadb_handle>& track) {
    return track.is_valid() ? QJsonValue(StateDump::displayPath(track->get_path()))
                            : QJsonValue(QJsonValue::Null);
}

QJsonObject playlistState(playlist_manager& pm, playlist_manager_v2* v2, size_t p) {
    QJsonObject o;
    cvk::stringLite name;
    pm.playlist_get_name(p, name);
    o[QStringLiteral("name")] = QString::fromUtf8(name.get_ptr());

    metadb_handle_list items;
    pm.playlist_get_all_items(p, items);
    QJsonArray paths;
    for (const auto& track : items) paths.append(pathOf(track));
    o[QStringLiteral("items")] = paths;

    const bit_array_bittable selected = pm.playlist_get_selection_mask(p);
    QJsonArray selection;
    for (size_t i = 0; i < selected.size(); ++i)
        if (selected.get(i)) selection.append(qint64(i));
    o[QStringLiteral("selection")] = selection;
    o[QStringLiteral("focus")] = indexOrNull(pm.playlist_get_focus_item(p));
    o[QStringLiteral("locked")] = pm.playlist_lock_is_present(p);

    QJsonObject properties;
    if (v2) {
        for (const KnownProperty& k : kKnownProperties) {
            std::vector<uint8_t> bytes;
            if (!v2->playlist_get_property(p, k.guid, bytes)) continue;
            const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
            properties[QString::fromLatin1(cvk::print_guid(k.guid).get_ptr())] =
                QString::fromLatin1(raw.toBase64());
        }
    }
    o[QStringLiteral("properties")] = properties;
    return o;
}

void addPlaylists(QJsonObject& out) {
    service_ptr_t<playlist_manager> pm;
    if (!qvn::_standard_api_try_get_internal(pm)) return;
    service_ptr_t<playlist_manager_v2> v2;
    qvn::_standard_api_try_get_internal(v2);

    QJsonArray playlists;
    for (size_t p = 0; p < pm->get_playlist_count(); ++p)
        playlists.append(playlistState(*pm, v2.get_ptr(), p));
    out[QStringLiteral("playlists")] = playlists;
    out[QStringLiteral("active_playlist")] = indexOrNull(pm->get_active_playlist());

    std::vector<t_playback_queue_item> queued;
    pm->queue_get_contents(queued);
    QJsonArray queue;
    for (const auto& q : queued) {
        queue.append(QJsonObject{{QStringLiteral("playlist"), indexOrNull(q.playlist)},
                                 {QStringLiteral("item"), indexOrNull(q.item)},
                                 {QStringLiteral("path"), pathOf(q.handle)}});
    }
    out[QStringLiteral("queue")] = queue;

    const char* order = pm->playback_order_get_name(pm->playback_order_get_active());
    out[QStringLiteral("playback_order")] =
        order ? QJsonValue(QString::fromUtf8(order)) : QJsonValue(QJsonValue::Null);
}

void addPlayback(QJsonObject& out) {
    service_ptr_t<playback_control> pc;
    if (!qvn::_standard_api_try_get_internal(pc)) return;
    service_ptr_t<metadb_handle> playing;
    pc->get_now_playing(playing);
    out[QStringLiteral("playing")] = pathOf(playing);
    out[QStringLiteral("is_playing")] = pc->is_playing();
    out[QStringLiteral("paused")] = pc->is_paused();
    out[QStringLiteral("position")] = pc->playback_get_position();
    out[QStringLiteral("length")] = pc->playback_get_length();
    out[QStringLiteral("volume")] = double(pc->get_volume());
}

template <class T>
bool registered() {
    service_class_ref c = service_factory_base::enum_find_class(T::class_guid);
    return c && service_factory_base::enum_get_count(c) == 1;
}

}  // namespace

QString StateDump::displayPath(const char* location) {
    const QString path = QString::fromUtf8(location ? location : "");
    return path.startsWith(QLatin1String("file://")) ? path.mid(7) : path;
}

QJsonObject StateDump::collect(const StateDumpWindow& window, const QStringList& consoleTail) {
    QJsonObject out;
    addPlaylists(out);
    addPlayback(out);

    QJsonArray elements;
    for (const auto& e : window.elements) {
        elements.append(QJsonObject{{QStringLiteral("name"), e.name},
                                    {QStringLiteral("instance"), e.instance},
                                    {QStringLiteral("placeholder"), e.placeholder},
                                    {QStringLiteral("x"), e.geometry.x()},
                                    {QStringLiteral("y"), e.geometry.y()},
                                    {QStringLiteral("width"), e.geometry.width()},
                                    {QStringLiteral("height"), e.geometry.height()},
                                    {QStringLiteral("accessible"), e.accessible}});
    }
    QJsonObject windowState{{QStringLiteral("title"), window.title},
                            {QStringLiteral("width"), window.size.width()},
                            {QStringLiteral("height"), window.size.height()},
                            {QStringLiteral("layout"), window.layout},
                            {QStringLiteral("elements"), elements}};
    if (!window.preferences.isEmpty()) {
        windowState[QStringLiteral("preferences")] =
            QJsonObject{{QStringLiteral("page"), window.preferencesPage},
                        {QStringLiteral("accessible"), window.preferences}};
    }
    out[QStringLiteral("window")] = windowState;
    out[QStringLiteral("console")] = QJsonArray::fromStringList(consoleTail);
    out[QStringLiteral("services")] =
        QJsonObject{{QStringLiteral("playlist_manager"), registered<playlist_manager>()},
                    {QStringLiteral("playback_control"), registered<playback_control>()}};
    return out;
}
