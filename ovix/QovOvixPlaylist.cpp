#include "QovOvixPlaylist.h"

#include "DroppedFiles.h"
#include "MainQueue.h"
#include "OvixRowListModel.h"
#include "play_callback.h"
#include "playlist_callback.h"
#include "playlist_incoming_item_filter.h"
#include "playlist_manager.h"
#include "QovOvixTableView.h"
#include "std_api.h"

#include <QMimeData>

namespace {

service_ptr_t<playlist_manager> manager() { return qvn::std_api_get<playlist_manager>(); }

std::vector<std::string> localFiles(const QMimeData* data) {
    return data ? platform::droppedFiles(*data) : std::vector<std::string>();
}

}  // namespace

class QovOvixPlaylist::PlaylistCallback final : public playlist_callback_impl_base {
public:
    explicit PlaylistCallback(QovOvixPlaylist* owner)
        : playlist_callback_impl_base(flag_all), _owner(owner) {}

    void on_items_added(size_t, size_t, const metadb_handle_list&, const bit_array&) override { dirty(); }
    void on_items_reordered(size_t, const size_t*, size_t) override { dirty(); }
    void on_items_removed(size_t, const bit_array&, size_t, size_t) override { dirty(); }
    void on_items_modified(size_t, const bit_array&) override { dirty(); }
    void on_items_replaced(size_t, const bit_array&, const std::vector<t_on_items_replaced_entry>&) override {
        dirty();
    }
    void on_playlist_activate(size_t, size_t) override { dirty(); }
    void on_items_selection_change(size_t, const bit_array&, const bit_array&) override {
        if (_owner) _owner->syncSelection();
    }
    void on_item_ensure_visible(size_t playlist, size_t item) override {
        if (_owner && playlist == manager()->get_active_playlist()) _owner->revealItem(item);
    }

private:
    void dirty() {
        if (_owner) _owner->scheduleRebuild();
    }

    QPointer<QovOvixPlaylist> _owner;
};

class QovOvixPlaylist::PlayCallback final : public play_callback_impl_base {
public:
    explicit PlayCallback(QovOvixPlaylist* owner)
        : play_callback_impl_base(flag_on_playback_new_track | flag_on_playback_stop), _owner(owner) {}

    void on_playback_new_track(service_ptr_t<metadb_handle>) override {
        if (_owner) _owner->playingChanged();
    }
    void on_playback_stop(playback_control::t_stop_reason) override {
        if (_owner) _owner->playingChanged();
    }

private:
    QPointer<QovOvixPlaylist> _owner;
};

QovOvixPlaylist::QovOvixPlaylist(QObject* parent) : qvn::ViewController(parent) {}

QovOvixPlaylist::~QovOvixPlaylist() {
    _plcb.reset();
    _pbcb.reset();
}

const OvixRows& QovOvixPlaylist::rows() const {
    static const OvixRows kNone;
    return _model ? _model->rows() : kNone;
}

void QovOvixPlaylist::loadView() {
    auto* table = new QovOvixTableView;
    table->resize(400, 400);
    table->setOwner(this);
    _model = new OvixRowListModel([this](const OvixRow& row) { return isPlaying(row); }, table);
    table->setModel(_model);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &QovOvixPlaylist::selectionDidChange);
    _table = table;
    setView(table);
    _patterns = OvixPatterns::compile();
    rebuild();
}

void QovOvixPlaylist::viewDidLoad() {
    _plcb = std::make_unique<PlaylistCallback>(this);
    _pbcb = std::make_unique<PlayCallback>(this);
}

void QovOvixPlaylist::scheduleRebuild() {
    if (_rebuildPending) return;
    _rebuildPending = true;
    platform::async(this, [this] {
        _rebuildPending = false;
        rebuild();
    });
}

void QovOvixPlaylist::rebuild() {
    if (!_model) return;
    auto pm = manager();
    _playlist = pm->get_active_playlist();
    if (_playlist >= pm->get_playlist_count()) _playlist = SIZE_MAX;
    metadb_handle_list items;
    if (_playlist != SIZE_MAX) pm->playlist_get_all_items(_playlist, items);
    _model->rebuild([&](OvixRows old) { return buildRows(items, _patterns, std::move(old)); });
    syncSelection();
}

void QovOvixPlaylist::syncSelection() {
    if (_playlist == SIZE_MAX || !_table) return;
    const bit_array_bittable mask = manager()->playlist_get_selection_mask(_playlist);
    const std::vector<size_t>& itemToRow = rows().itemToRow;
    // Runs of adjacent rows as one range each: select-all stays one range a group.
    QItemSelection selection;
    int first = -1, last = -2;
    auto flush = [&] {
        if (first >= 0) selection.select(_model->index(first), _model->index(last));
    };
    const size_t count = std::min(itemToRow.size(), mask.size());
    for (size_t i = mask.find(true, 0, count); i < count; i = mask.find(true, i + 1, count)) {
        const int row = int(itemToRow[i]);
        if (row != last + 1) {
            flush();
            first = row;
        }
        last = row;
    }
    flush();

    const bool wasSyncing = _syncing;
    _syncing = true;
    if (selection != _table->selectionModel()->selection())
        _table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    followSelection(selection);
    _syncing = wasSyncing;
    _table->viewport()->update();
}

void QovOvixPlaylist::followSelection(const QItemSelection& selection) {
    // The arrow keys go on from the selection, as from a click: a rebuild or a
    // selection made elsewhere would otherwise send them back to the top.
    QItemSelectionModel* model = _table->selectionModel();
    const QModelIndex current = model->currentIndex();
    if (selection.isEmpty() || (current.isValid() && selection.contains(current))) return;
    QModelIndex at = _model->index(selection.last().bottom());
    const size_t focus = manager()->playlist_get_focus_item(_playlist);
    if (focus < rows().itemToRow.size()) {
        const QModelIndex focused = _model->index(int(rows().itemToRow[focus]));
        if (selection.contains(focused)) at = focused;
    }
    // Moving the cursor is no reason to scroll; only the host's reveal scrolls.
    const bool autoScroll = _table->hasAutoScroll();
    _table->setAutoScroll(false);
    model->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    _table->setAutoScroll(autoScroll);
}

void QovOvixPlaylist::selectionDidChange() {
    if (_syncing || _playlist == SIZE_MAX || !_table) return;
    auto pm = manager();
    const size_t count = pm->playlist_get_item_count(_playlist);
    const std::vector<OvixRow>& all = rows().rows;
    bit_array_bittable mask(count);
    for (const QItemSelectionRange& range : _table->selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            if (r < 0 || size_t(r) >= all.size()) continue;
            const OvixRow& row = all[size_t(r)];
            if (!row.header && row.item < count) mask.set(row.item, true);
        }
    }
    const bool wasSyncing = _syncing;
    _syncing = true;
    pm->playlist_set_selection(_playlist, bit_array_true(), mask);
    const int focus = selectedRow();
    if (isTrackRow(focus)) pm->playlist_set_focus_item(_playlist, all[size_t(focus)].item);
    _syncing = wasSyncing;
    syncSelection();
}

int QovOvixPlaylist::selectedRow() const {
    if (!_table) return -1;
    const QItemSelectionModel* model = _table->selectionModel();
    const QModelIndex current = model->currentIndex();
    if (current.isValid() && model->isSelected(current)) return current.row();
    int highest = -1;
    for (const QItemSelectionRange& range : model->selection()) highest = std::max(highest, range.bottom());
    return highest;
}

bool QovOvixPlaylist::isTrackRow(int row) const {
    const std::vector<OvixRow>& all = rows().rows;
    return row >= 0 && size_t(row) < all.size() && !all[size_t(row)].header;
}

bool QovOvixPlaylist::isPlaying(const OvixRow& row) const {
    size_t playlist = SIZE_MAX, item = SIZE_MAX;
    if (row.header || !manager()->get_playing_item_location(playlist, item)) return false;
    return playlist == _playlist && item == row.item;
}

void QovOvixPlaylist::playingChanged() {
    if (!_playingRetry) {
        _playingRetry = true;
        platform::after(kPlayingRetryMs, this, [this] {
            _playingRetry = false;
            playingChanged();
        });
    }
    if (!_table) return;
    _table->viewport()->update();
    size_t playlist = SIZE_MAX, item = SIZE_MAX;
    if (manager()->get_playing_item_location(playlist, item) && playlist == _playlist) revealItem(item);
}

void QovOvixPlaylist::revealItem(size_t item) {
    const std::vector<size_t>& itemToRow = rows().itemToRow;
    if (!_table || item >= itemToRow.size()) return;
    _table->scrollTo(_model->index(int(itemToRow[item])), QAbstractItemView::EnsureVisible);
}

void QovOvixPlaylist::playClicked(int clickedRow) {
    const int row = clickedRow >= 0 ? clickedRow : selectedRow();
    if (_playlist == SIZE_MAX || !isTrackRow(row)) return;
    manager()->playlist_execute_default_action(_playlist, rows().rows[size_t(row)].item);
}

void QovOvixPlaylist::removeSelection() {
    if (_playlist != SIZE_MAX) manager()->playlist_remove_selection(_playlist);
}

QMimeData* QovOvixPlaylist::dragData() const {
    if (!_table) return nullptr;
    const std::vector<OvixRow>& all = rows().rows;
    std::vector<size_t> items;
    for (const QItemSelectionRange& range : _table->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            if (isTrackRow(r)) items.push_back(all[size_t(r)].item);
    if (items.empty()) return nullptr;
    std::sort(items.begin(), items.end());
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kRowsMimeType), encodeRowItems(items));
    return data;
}

Qt::DropAction QovOvixPlaylist::validateDrop(const QMimeData* data, bool fromThisList) const {
    if (_playlist == SIZE_MAX) return Qt::IgnoreAction;
    if (fromThisList) return Qt::MoveAction;
    return localFiles(data).empty() ? Qt::IgnoreAction : Qt::CopyAction;
}

size_t QovOvixPlaylist::insertIndexForRow(int row) const {
    return rows().insertIndexForRow(size_t(std::max(row, 0)));
}

bool QovOvixPlaylist::acceptDrop(const QMimeData* data, int row, bool fromThisList) {
    if (_playlist == SIZE_MAX || !data) return false;
    auto pm = manager();
    const size_t index = insertIndexForRow(row);
    if (fromThisList) {
        const size_t count = pm->playlist_get_item_count(_playlist);
        std::vector<bool> moved(count, false);
        for (size_t item : decodeRowItems(data->data(QString::fromLatin1(kRowsMimeType))))
            if (item < count) moved[item] = true;
        const std::vector<size_t> order = moveOrder(count, moved, index);
        if (order.size() != count) return false;
        pm->playlist_reorder_items(_playlist, order.data(), count);
        return true;
    }
    std::vector<std::string> paths = localFiles(data);
    if (paths.empty()) return false;
    const size_t playlist = _playlist;
    // Held by the host until it answers; it may outlive this controller.
    auto done = [playlist, index](const metadb_handle_list& tracks) {
        auto pm = manager();
        if (tracks.empty() || playlist >= pm->get_playlist_count()) return;
        pm->playlist_clear_selection(playlist);
        pm->playlist_insert_items(playlist, std::min(index, pm->playlist_get_item_count(playlist)), tracks,
                                  bit_array_true());
    };
    qvn::std_api_get<playlist_incoming_item_filter_v2>()->process_locations_async(
        paths,
        playlist_incoming_item_filter_v2::op_flag_background |
            playlist_incoming_item_filter_v2::op_flag_delay_ui,
        nullptr, nullptr, nullptr, process_locations_notify::create(done));
    return true;
}
