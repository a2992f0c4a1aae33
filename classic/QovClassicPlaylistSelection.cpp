// The playlist's selection in step with the host's, sorting by a column, and
// the search bar.

#include "QovClassicPlaylist.h"

#include "ClassicSettings.h"
#include "DisplayText.h"
#include "playlist_manager.h"
#include "PlaylistSearch.h"
#include "PlaylistSort.h"
#include "std_api.h"
#include "SystemColors.h"
#include "SystemFont.h"
#include "titleformat.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <numeric>

namespace {

const QLatin1String kIndexColumn("index");
const QLatin1String kPlayingColumn("playing");
const QLatin1String kSizeColumn("size");
// Sizes sort as numbers: zero-padded to one width, their texts sort alike.
const char* const kSizeKey = "$num(%filesize%,20)";
const char* const kSearchText = "%artist% %title% %album% %album artist% %genre% %date% %filename%";
constexpr int kSearchFieldWidth = 260;

auto playlists() { return qvn::std_api_get<playlist_manager>(); }

QString formatted(const metadb_handle_ptr& track, const service_ptr_t<titleformat_object>& script) {
    cvk::stringLite text;
    track->format_title(nullptr, text, script, nullptr);
    return textOf(text);
}

}  // namespace

// --- Selection ---

void QovClassicPlaylist::syncSelection() {
    if (playlist() == SIZE_MAX || _syncing || !_table) return;
    auto pm = playlists();
    const bit_array_bittable selected = pm->playlist_get_selection_mask(playlist());
    std::vector<size_t> rows;
    for (size_t i = selected.find(true, 0, selected.size()); i < selected.size();
         i = selected.find(true, i + 1, selected.size()))
        if (const size_t row = rowForItem(i); row != SIZE_MAX) rows.push_back(row);
    // The keys go on from the host's focus when it is selected, else from the
    // last selected row, as they would from a click.
    const size_t focus = pm->playlist_get_focus_item(playlist());
    const size_t lead = focus < selected.size() && selected.get(focus) ? rowForItem(focus)
                        : rows.empty()                                 ? SIZE_MAX
                                                                       : rows.back();
    _syncing = true;
    _table->selectRows(rows, lead);
    _syncing = false;
}

void QovClassicPlaylist::tableViewSelectionDidChange() {
    if (_syncing || playlist() == SIZE_MAX || !_table) return;
    bit_array_bittable mask(_model->rows().itemCount());
    for (size_t item : selectedItems()) mask.set(item, true);
    auto pm = playlists();
    _syncing = true;
    pm->playlist_set_selection(playlist(), bit_array_true(), mask);
    if (const int64_t item = itemForRow(_table->selectedRow()); item >= 0)
        pm->playlist_set_focus_item(playlist(), size_t(item));
    _syncing = false;
}

// --- Sorting ---

void QovClassicPlaylist::didClickTableColumn(int logicalColumn) {
    QHeaderView* header = _table->horizontalHeader();
    // The header turns its indicator on a click by itself; it shows ours.
    const auto showIndicator = [&] {
        const int sorted = _sortColumn ? _model->columnOf(*_sortColumn) : -1;
        header->setSortIndicator(sorted, _sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    };
    if (playlist() == SIZE_MAX || logicalColumn < 0 || size_t(logicalColumn) >= _model->columns().size() ||
        _model->columns()[size_t(logicalColumn)].identifier == kPlayingColumn) {
        showIndicator();
        return;
    }
    const QovClassicPlaylistModel::Column& column = _model->columns()[size_t(logicalColumn)];
    const bool descending = _sortColumn == column.identifier && !_sortDescending;
    _sortColumn = column.identifier;
    _sortDescending = descending;
    showIndicator();

    const metadb_handle_list& items = _model->items();
    std::vector<size_t> order(items.size());
    if (column.identifier == kIndexColumn) {
        // The playlist as it stands, or reversed.
        std::iota(order.begin(), order.end(), size_t(0));
        if (descending) std::reverse(order.begin(), order.end());
    } else {
        const service_ptr_t<titleformat_object> script =
            column.identifier == kSizeColumn
                ? qvn::std_api_get<titleformat_compiler>()->compile_safe(kSizeKey)
                : column.script;
        if (!script.is_valid()) return;
        std::vector<QString> keys;
        keys.reserve(items.size());
        for (const auto& track : items) keys.push_back(formatted(track, script));
        order = sortOrder(keys, descending);
    }
    auto pm = playlists();
    pm->playlist_undo_backup(playlist());
    pm->playlist_reorder_items(playlist(), order.data(), order.size());
}

// --- Search ---

QWidget* QovClassicPlaylist::makeSearchBar() {
    const QFont small = platform::SystemFont::ofSize(platform::SystemFont::kSmallSize);
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 4, 8, 4);

    _search = new QLineEdit;
    _search->setPlaceholderText(QStringLiteral("Search playlist"));
    _search->setFont(small);
    _search->setFixedWidth(kSearchFieldWidth);
    _search->setClearButtonEnabled(true);
    _search->installEventFilter(this);
    connect(_search, &QLineEdit::textChanged, this, &QovClassicPlaylist::onSearch);
    connect(_search, &QLineEdit::returnPressed, this, &QovClassicPlaylist::nextMatch);

    _searchInfo = new QLabel;
    _searchInfo->setFont(small);

    auto* done = new QPushButton(QStringLiteral("Done"));
    done->setFont(small);
    connect(done, &QPushButton::clicked, this, &QovClassicPlaylist::hideSearch);

    row->addWidget(_search);
    row->addWidget(_searchInfo);
    row->addStretch(1);
    row->addWidget(done);
    bar->hide();
    _searchBar = bar;
    return bar;
}

bool QovClassicPlaylist::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _search && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hideSearch();
        return true;
    }
    return qvn::ViewController::eventFilter(watched, event);
}

void QovClassicPlaylist::showSearch() {
    if (!_searchBar) return;
    // The theme may have changed since it last showed.
    QPalette secondary = _searchInfo->palette();
    secondary.setColor(QPalette::WindowText,
                       platform::SystemColors::color(platform::SystemColor::SecondaryLabel));
    _searchInfo->setPalette(secondary);
    _searchBar->show();
    _search->setFocus();
    onSearch();
}

void QovClassicPlaylist::hideSearch() {
    if (!_searchBar) return;
    _searchBar->hide();
    _matches.clear();
    if (_table) _table->setFocus();
}

void QovClassicPlaylist::onSearch() {
    _matches.clear();
    _matchPos = 0;
    if (!_search) return;
    const QString text = _search->text();
    if (text.isEmpty() || playlist() == SIZE_MAX) {
        _searchInfo->clear();
        return;
    }
    const PlaylistSearch search(text);
    const auto script = qvn::std_api_get<titleformat_compiler>()->compile_safe(kSearchText);
    const metadb_handle_list& items = _model->items();
    for (size_t i = 0; i < items.size(); ++i)
        if (search.matches(formatted(items[i], script))) _matches.push_back(i);
    _searchInfo->setText(_matches.empty() ? QStringLiteral("Not found")
                                          : QStringLiteral("%1 found").arg(_matches.size()));

    bit_array_bittable selected(items.size());
    for (size_t i : _matches) selected.set(i, true);
    auto pm = playlists();
    pm->playlist_set_selection(playlist(), bit_array_true(), selected);
    if (_matches.empty()) return;
    pm->playlist_set_focus_item(playlist(), _matches.front());
    revealItem(_matches.front());
}

void QovClassicPlaylist::nextMatch() {
    if (_matches.empty() || playlist() == SIZE_MAX) return;
    _matchPos = (_matchPos + 1) % _matches.size();
    const size_t item = _matches[_matchPos];
    playlists()->playlist_set_focus_item(playlist(), item);
    revealItem(item);
    _searchInfo->setText(QStringLiteral("%1 of %2").arg(_matchPos + 1).arg(_matches.size()));
}
