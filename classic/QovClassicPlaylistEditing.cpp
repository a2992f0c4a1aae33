// The playlist's editing: clipboard, undo, removal, playing, the context menu
// with the queue commands, and drag and drop.

#include "QovClassicPlaylist.h"

#include "Beep.h"
#include "ClassicClipboard.h"
#include "ClassicDrag.h"
#include "ClipboardChangeCount.h"
#include "ContextMenuNodes.h"
#include "DropOrder.h"
#include "DroppedFiles.h"
#include "playlist_incoming_item_filter.h"
#include "playlist_manager.h"
#include "std_api.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>

using platform::EditAction;

namespace {

// Every command of the host's menu, whatever the user chose to show.
constexpr uint32_t kMenuFlags = contextmenu_manager::flag_view_full;
// In the background, with progress only when it takes a while.
constexpr uint32_t kLocationFlags =
    playlist_incoming_item_filter_v2::op_flag_background | playlist_incoming_item_filter_v2::op_flag_delay_ui;

auto playlists() { return qvn::std_api_get<playlist_manager>(); }

// The track's file for other programs; empty for a location that is no local file.
QUrl fileUrlOf(const metadb_handle_ptr& track) {
    const char* location = track->get_path();
    if (!location || std::strncmp(location, "file://", 7) != 0) return {};
    return QUrl::fromLocalFile(QString::fromUtf8(location + 7));
}

// Inserts the tracks before `position` (clamped to the end) with an undo
// point, and makes them the selection. The playlist may have gone meanwhile;
// a refusal (a locked playlist) beeps and leaves the selection alone.
void insertTracks(size_t playlist, size_t position, const metadb_handle_list& tracks) {
    if (tracks.empty()) return;
    auto pm = playlists();
    if (playlist >= pm->get_playlist_count()) return;
    position = std::min(position, pm->playlist_get_item_count(playlist));
    pm->playlist_undo_backup(playlist);
    const size_t first = pm->playlist_insert_items(playlist, position, tracks, bit_array_true());
    if (first == SIZE_MAX) {
        platform::beep();
        return;
    }
    pm->playlist_set_selection(playlist, bit_array_true(), bit_array_range(first, tracks.size()));
}

}  // namespace

std::vector<size_t> QovClassicPlaylist::selectedItems() const {
    std::vector<size_t> items;
    if (!_table) return items;
    for (int64_t row : _table->selectedRowList())
        if (const int64_t item = itemForRow(row); item >= 0) items.push_back(size_t(item));
    return items;
}

bool QovClassicPlaylist::insertFiles(const QMimeData& data, size_t position) const {
    const std::vector<std::string> paths = platform::droppedFiles(data);
    if (paths.empty()) return false;
    const size_t p = playlist();
    qvn::std_api_get<playlist_incoming_item_filter_v2>()->process_locations_async(
        paths, kLocationFlags, nullptr, nullptr, nullptr,
        process_locations_notify::create(
            [p, position](const metadb_handle_list& tracks) { insertTracks(p, position, tracks); }));
    return true;
}

// --- Edit commands ---

bool QovClassicPlaylist::canEdit(EditAction action) const {
    if (playlist() == SIZE_MAX || !_table) return false;
    switch (action) {
        case EditAction::Undo:
            return playlists()->playlist_is_undo_available(playlist());
        case EditAction::Redo:
            return playlists()->playlist_is_redo_available(playlist());
        case EditAction::Paste:
            return true;
        case EditAction::Copy:
        case EditAction::Cut:
        case EditAction::Delete:
            return _table->selectionModel()->hasSelection();
        case EditAction::SelectAll:
            break;
    }
    return false;
}

void QovClassicPlaylist::doCopy(bool cut) {
    if (playlist() == SIZE_MAX) return;
    auto pm = playlists();
    pm->playlist_get_selected_items(playlist(), g_clipboard);
    if (g_clipboard.empty()) return;
    QList<QUrl> urls;
    for (const auto& track : g_clipboard)
        if (QUrl url = fileUrlOf(track); url.isValid()) urls.append(url);
    auto* data = new QMimeData;
    if (!urls.isEmpty()) data->setUrls(urls);
    platform::clipboardChangeCount();  // counting from before this write
    QGuiApplication::clipboard()->setMimeData(data);
    g_clipboardChange = platform::clipboardChangeCount();
    if (cut) {
        pm->playlist_undo_backup(playlist());
        pm->playlist_remove_selection(playlist());
    }
}

void QovClassicPlaylist::doPaste() {
    if (playlist() == SIZE_MAX) return;
    auto pm = playlists();
    const size_t focus = pm->playlist_get_focus_item(playlist());
    const size_t position = focus == SIZE_MAX ? pm->playlist_get_item_count(playlist()) : focus + 1;
    if (platform::clipboardChangeCount() == g_clipboardChange && !g_clipboard.empty()) {
        insertTracks(playlist(), position, g_clipboard);
        return;
    }
    // Another program's copy: its files, if it has any.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !insertFiles(*data, position)) platform::beep();
}

void QovClassicPlaylist::doUndo(bool redo) {
    if (playlist() == SIZE_MAX) return;
    auto pm = playlists();
    if (redo)
        pm->playlist_redo_restore(playlist());
    else
        pm->playlist_undo_restore(playlist());
}

void QovClassicPlaylist::removeSelection() {
    if (playlist() == SIZE_MAX) return;
    auto pm = playlists();
    const bit_array_bittable selected = pm->playlist_get_selection_mask(playlist());
    if (selected.find(true, 0, selected.size()) == selected.size()) return;
    pm->playlist_undo_backup(playlist());
    if (!pm->playlist_remove_selection(playlist())) platform::beep();
}

void QovClassicPlaylist::playClicked(int64_t clickedRow) {
    if (playlist() == SIZE_MAX || !_table) return;
    const int64_t item = itemForRow(clickedRow >= 0 ? clickedRow : _table->selectedRow());
    if (item >= 0) playlists()->playlist_execute_default_action(playlist(), size_t(item));
}

// --- Context menu ---

QMenu* QovClassicPlaylist::contextMenu(int64_t clickedRow) {
    if (playlist() == SIZE_MAX) return nullptr;
    auto* menu = new QMenu;
    menu->addAction(QStringLiteral("Play"), this, [this, clickedRow] { playClicked(clickedRow); });
    menu->addAction(QStringLiteral("Remove"), this, &QovClassicPlaylist::removeSelection);
    menu->addSeparator();

    // The queue commands are always these: the host's own are left out below,
    // so that a user meets one set, the one that also flushes the queue.
    menu->addAction(QStringLiteral("Add to Playback Queue"), this, &QovClassicPlaylist::queueAdd);
    const std::vector<size_t> selected = selectedItems();
    if (std::any_of(selected.begin(), selected.end(),
                    [this](size_t item) { return !_model->rows().queueLabel(item).isEmpty(); }))
        menu->addAction(QStringLiteral("Remove from Playback Queue"), this, &QovClassicPlaylist::queueRemove);
    if (playlists()->queue_get_count() > 0)
        menu->addAction(QStringLiteral("Flush Playback Queue"), this, &QovClassicPlaylist::queueFlush);
    menu->addSeparator();

    _menuManager = contextmenu_manager::g_create();
    _menuManager->init_context_playlist(kMenuFlags);
    if (contextmenu_node* root = _menuManager->get_root()) buildMenu(menu, root, this, true);
    return menu;
}

void QovClassicPlaylist::runContextNode(contextmenu_node* node) {
    if (_menuManager.is_valid()) node->execute();
}

void QovClassicPlaylist::queueAdd() {
    if (playlist() == SIZE_MAX) return;
    auto pm = playlists();
    for (size_t item : selectedItems()) pm->queue_add_item_playlist(playlist(), item);
}

void QovClassicPlaylist::queueRemove() {
    if (playlist() == SIZE_MAX) return;
    const std::vector<size_t> selected = selectedItems();
    const std::unordered_set<size_t> items(selected.begin(), selected.end());
    auto pm = playlists();
    std::vector<t_playback_queue_item> queue;
    pm->queue_get_contents(queue);
    bit_array_bittable mask(queue.size());
    for (size_t k = 0; k < queue.size(); ++k)
        mask.set(k, queue[k].playlist == playlist() && items.count(queue[k].item) != 0);
    pm->queue_remove_mask(mask);
}

void QovClassicPlaylist::queueFlush() {
    auto pm = playlists();
    pm->queue_remove_mask(bit_array_bittable(pm->queue_get_count(), true));
}

// --- Drag and drop ---

QMimeData* QovClassicPlaylist::dragData(const std::vector<int64_t>& rows) const {
    QStringList lines;
    QList<QUrl> urls;
    for (int64_t row : rows) {
        const int64_t item = itemForRow(row);
        if (item < 0) continue;
        lines.append(QString::number(item));
        if (QUrl url = fileUrlOf(_model->items()[size_t(item)]); url.isValid()) urls.append(url);
    }
    if (lines.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    setDraggedRows(*data, lines);
    if (!urls.isEmpty()) data->setUrls(urls);
    return data;
}

void QovClassicPlaylist::dragWillBegin(const std::vector<int64_t>& rows) {
    std::vector<size_t> items;
    metadb_handle_list handles;
    for (int64_t row : rows) {
        const int64_t item = itemForRow(row);
        if (item < 0) continue;
        items.push_back(size_t(item));
        handles.push_back(_model->items()[size_t(item)]);
    }
    g_drag.begin(playlist(), std::move(items), std::move(handles));
}

Qt::DropAction QovClassicPlaylist::validateDrop(const QMimeData& data, int64_t) const {
    if (playlist() == SIZE_MAX) return Qt::IgnoreAction;
    if (g_drag.carries(data)) return g_drag.playlist == playlist() ? Qt::MoveAction : Qt::CopyAction;
    return platform::droppedFiles(data).empty() ? Qt::IgnoreAction : Qt::CopyAction;
}

bool QovClassicPlaylist::acceptDrop(const QMimeData& data, int64_t row) {
    if (playlist() == SIZE_MAX) return false;
    const size_t target = std::min(_model->rows().itemCount(), insertIndexForRow(row));
    if (!g_drag.carries(data)) return insertFiles(data, target);
    if (g_drag.playlist != playlist()) {
        insertTracks(playlist(), target, g_drag.handles);
        return true;
    }
    // Over the rows shown: when the playlist has changed since, the host
    // refuses an order of the wrong length rather than move other items.
    const std::vector<size_t> order = dropOrder(_model->rows().itemCount(), g_drag.items, target);
    auto pm = playlists();
    pm->playlist_undo_backup(playlist());
    if (pm->playlist_reorder_items(playlist(), order.data(), order.size())) return true;
    platform::beep();
    return false;
}
