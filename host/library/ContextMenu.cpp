#include "ContextMenu.h"

#include "Metadb.h"
#include "TrackHandle.h"

#include "bit_array.h"
#include "playlist_manager.h"
#include "service_factory.h"
#include "std_api.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_set>

namespace library {

namespace {

constexpr GUID kPlay{0x4C91EDE0, 0xF605, 0x4FA5, {0x92, 0xF1, 0x86, 0x4B, 0x50, 0x2B, 0xC0, 0x8B}};
constexpr GUID kQueueAdd{0x53609346, 0x690D, 0x4359, {0x9A, 0x21, 0x12, 0x24, 0xFC, 0xFE, 0x64, 0x01}};
constexpr GUID kQueueRemove{0xEEAC03BC, 0xC0A7, 0x4A43, {0xA6, 0x90, 0x21, 0x92, 0xC6, 0x79, 0xD7, 0x2B}};
constexpr GUID kOpenFolder{0x4EF056E6, 0xB452, 0x429F, {0x98, 0x15, 0x03, 0x91, 0x6D, 0x6B, 0xB0, 0x32}};
constexpr GUID kCopyPath{0x3DF78B9C, 0xA064, 0x45E7, {0x94, 0xA7, 0xDC, 0x2B, 0x6B, 0xAF, 0xB1, 0x4B}};
constexpr GUID kProperties{0x88E6A8D7, 0xF223, 0x4669, {0xB7, 0xE3, 0xB6, 0x64, 0x9F, 0x5F, 0x17, 0x8E}};
// Rating 0 (Clear) to 5; they differ in the last byte.
constexpr GUID ratingGuid(uint32_t rating) {
    return {0x48562D14, 0x0F10, 0x43CF, {0xAB, 0xD8, 0x0E, 0x30, 0x1A, 0x94, 0xAF, uint8_t(0x20 + rating)}};
}

PropertiesHandler& propertiesHandler() {
    static PropertiesHandler handler;
    return handler;
}

class Node final : public contextmenu_node {
public:
    explicit Node(t_type type, std::string name = {}, uint32_t flags = 0, GUID guid = pfc_guid_null,
                  std::function<void()> run = {})
        : m_type(type), m_name(std::move(name)), m_flags(flags), m_guid(guid), m_run(std::move(run)) {}

    t_type get_type() const override { return m_type; }
    bool get_display_data(cvk::string_base& out, uint32_t& flags) const override {
        out.reset();
        flags = 0;
        if (m_type == type_separator || m_type == type_group) return false;
        out.set_string(m_name.c_str());
        flags = m_flags;
        return true;
    }
    size_t get_num_children() const override { return m_children.size(); }
    contextmenu_node* get_child(size_t index) const override {
        return index < m_children.size() ? m_children[index].get() : nullptr;
    }
    GUID get_guid() const override { return m_type == type_command ? m_guid : pfc_guid_null; }
    void execute() override {
        if (m_type == type_command && m_run && !(m_flags & (flag_disabled | flag_grayed))) m_run();
    }

    Node& add(std::unique_ptr<Node> child) {
        m_children.push_back(std::move(child));
        return *m_children.back();
    }
    void command(std::string name, GUID guid, std::function<void()> run, bool enabled = true,
                 bool checked = false) {
        const uint32_t flags =
            (enabled ? 0u : uint32_t(flag_disabled | flag_grayed)) | (checked ? uint32_t(flag_checked) : 0u);
        add(std::make_unique<Node>(type_command, std::move(name), flags, guid, std::move(run)));
    }
    void separator() { add(std::make_unique<Node>(type_separator)); }

private:
    const t_type m_type;
    const std::string m_name;
    const uint32_t m_flags;
    const GUID m_guid;
    const std::function<void()> m_run;
    std::vector<std::unique_ptr<Node>> m_children;
};

// What a menu acts on: a list of tracks, or items of a playlist.
struct Selection {
    metadb_handle_list tracks;
    size_t playlist = SIZE_MAX;  // SIZE_MAX: a plain list of tracks
    std::vector<size_t> items;   // beside `tracks`, for a playlist

    bool fromPlaylist() const { return playlist != SIZE_MAX; }

    // The entries whose item still holds its track; all of a plain list.
    std::vector<size_t> stillThere(playlist_manager& pm) const {
        std::vector<size_t> out;
        for (size_t i = 0; i < tracks.size(); ++i) {
            if (!fromPlaylist() || (playlist < pm.get_playlist_count() &&
                                    pm.playlist_get_item_handle(playlist, items[i]) == tracks[i]))
                out.push_back(i);
        }
        return out;
    }
};

std::string localPathOf(const metadb_handle_ptr& track) {
    if (const TrackHandle* own = TrackHandle::from(track)) return own->nativePath();
    const std::string location = track->get_path();
    return location.starts_with("file://") ? location.substr(7) : std::string();
}

// Playlist and item where "Play" starts: the first selected item, or for a
// plain list the first track's place in the active playlist.
bool playTarget(playlist_manager& pm, const Selection& s, size_t& playlist, size_t& item) {
    if (s.tracks.empty()) return false;
    if (s.fromPlaylist()) {
        const auto there = s.stillThere(pm);
        if (there.empty()) return false;
        playlist = s.playlist;
        item = s.items[there.front()];
        return true;
    }
    playlist = pm.get_active_playlist();
    if (playlist == SIZE_MAX) return false;
    const size_t count = pm.playlist_get_item_count(playlist);
    for (item = 0; item < count; ++item) {
        if (pm.playlist_get_item_handle(playlist, item) == s.tracks.front()) return true;
    }
    return false;
}

// Queue entries that belong to the selection.
bit_array_bittable queuedEntries(playlist_manager& pm, const Selection& s) {
    std::vector<t_playback_queue_item> queue;
    pm.queue_get_contents(queue);
    bit_array_bittable mask(queue.size());
    if (s.fromPlaylist()) {
        std::unordered_set<size_t> items;
        for (size_t i : s.stillThere(pm)) items.insert(s.items[i]);
        for (size_t q = 0; q < queue.size(); ++q)
            mask.set(q, queue[q].playlist == s.playlist && items.count(queue[q].item) != 0);
    } else {
        std::unordered_set<const metadb_handle*> tracks;
        for (const auto& t : s.tracks) tracks.insert(t.get_ptr());
        for (size_t q = 0; q < queue.size(); ++q) mask.set(q, tracks.count(queue[q].handle.get_ptr()) != 0);
    }
    return mask;
}

bool anySet(const bit_array_bittable& mask) { return mask.find(true, 0, mask.size()) < mask.size(); }

void play(const std::shared_ptr<const Selection>& s) {
    auto pm = qvn::std_api_get<playlist_manager>();
    size_t playlist, item;
    if (playTarget(*pm, *s, playlist, item)) pm->playlist_execute_default_action(playlist, item);
}

void addToQueue(const std::shared_ptr<const Selection>& s) {
    auto pm = qvn::std_api_get<playlist_manager>();
    for (size_t i : s->stillThere(*pm)) {
        if (s->fromPlaylist()) {
            pm->queue_add_item_playlist(s->playlist, s->items[i]);
        } else {
            pm->queue_add_item(s->tracks[i]);
        }
    }
}

void removeFromQueue(const std::shared_ptr<const Selection>& s) {
    auto pm = qvn::std_api_get<playlist_manager>();
    const bit_array_bittable mask = queuedEntries(*pm, *s);
    if (anySet(mask)) pm->queue_remove_mask(mask);
}

void openFolder(const std::string& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

void copyPaths(const std::shared_ptr<const Selection>& s) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    QStringList lines;
    for (const auto& t : s->tracks) {
        const std::string path = localPathOf(t);
        lines.push_back(QString::fromStdString(path.empty() ? std::string(t->get_path()) : path));
    }
    QGuiApplication::clipboard()->setText(lines.join(u'\n'));
}

// The rating every track shares, or -1 when they differ.
int commonRating(const metadb_handle_list& tracks) {
    int common = -1;
    for (const auto& t : tracks) {
        const int r = int(Metadb::instance().statistics(t).rating);
        if (common >= 0 && r != common) return -1;
        common = r;
    }
    return common;
}

std::unique_ptr<Node> build(std::shared_ptr<const Selection> s) {
    auto root = std::make_unique<Node>(contextmenu_node::type_group);
    if (s->tracks.empty()) return root;
    auto pm = qvn::std_api_get<playlist_manager>();

    size_t playlist, item;
    root->command(
        "Play", kPlay, [s] { play(s); }, playTarget(*pm, *s, playlist, item));
    root->command("Add to Playback Queue", kQueueAdd, [s] { addToQueue(s); });
    if (anySet(queuedEntries(*pm, *s)))
        root->command("Remove from Playback Queue", kQueueRemove, [s] { removeFromQueue(s); });
    root->separator();

    std::string folder;
    for (const auto& t : s->tracks) {
        if (const std::string path = localPathOf(t); !path.empty()) {
            folder = std::filesystem::path(path).parent_path().string();
            break;
        }
    }
    root->command(
        "Open Containing Folder", kOpenFolder, [folder] { openFolder(folder); }, !folder.empty());
    root->command("Copy Path", kCopyPath, [s] { copyPaths(s); });
    root->separator();

    Node& rating = root->add(std::make_unique<Node>(contextmenu_node::type_popup, "Rating"));
    const int current = commonRating(s->tracks);
    for (uint32_t stars = 1; stars <= PlayStatistics::kMaxRating; ++stars) {
        rating.command(
            std::to_string(stars) + (stars == 1 ? " Star" : " Stars"), ratingGuid(stars),
            [s, stars] { Metadb::instance().setRating(s->tracks, stars); }, true, current == int(stars));
    }
    rating.separator();
    rating.command(
        "Clear", ratingGuid(0), [s] { Metadb::instance().setRating(s->tracks, 0); }, current != 0);
    root->separator();

    root->command(
        "Properties", kProperties,
        [s] {
            if (const PropertiesHandler& handler = propertiesHandler()) handler(s->tracks);
        },
        static_cast<bool>(propertiesHandler()));
    return root;
}

class TrackContextMenu : public contextmenu_manager {
public:
    void init_context(const metadb_handle_list& data, uint32_t) override {
        auto s = std::make_shared<Selection>();
        for (const auto& t : data) {
            if (t) s->tracks.push_back(t);
        }
        m_root = build(std::move(s));
    }

    void init_context_playlist(uint32_t) override {
        auto s = std::make_shared<Selection>();
        auto pm = qvn::std_api_get<playlist_manager>();
        const size_t playlist = pm->get_active_playlist();
        if (playlist != SIZE_MAX) {
            s->playlist = playlist;
            const bit_array_bittable selected = pm->playlist_get_selection_mask(playlist);
            const size_t count = pm->playlist_get_item_count(playlist);
            for (size_t i = 0; i < count; ++i) {
                if (!selected.get(i)) continue;
                if (auto track = pm->playlist_get_item_handle(playlist, i)) {
                    s->items.push_back(i);
                    s->tracks.push_back(std::move(track));
                }
            }
        }
        m_root = build(std::move(s));
    }

    contextmenu_node* get_root() override { return m_root.get(); }

private:
    std::unique_ptr<Node> m_root;
};

// Every request makes a new manager, so that each menu owns its tree.
class FreshMenuFactory final : public service_factory_base {
public:
    FreshMenuFactory() : service_factory_base(contextmenu_manager::class_guid) {}
    void instance_create(service_ptr_t<service_base>& out) override {
        const service_ptr_t<TrackContextMenu> made = service_new<TrackContextMenu>();
        out = static_cast<service_base*>(made.get_ptr());
    }
};

FreshMenuFactory g_contextMenuFactory;

}  // namespace

void setPropertiesHandler(PropertiesHandler handler) { propertiesHandler() = std::move(handler); }

}  // namespace library
