#include "QovClassicPlaylistModel.h"

#include "DisplayText.h"
#include "playback_control.h"
#include "playlist_manager.h"
#include "std_api.h"

namespace {

const QLatin1String kIndexColumn("index");
const QLatin1String kPlayingColumn("playing");
const QLatin1String kPathColumn("path");

}  // namespace

QovClassicPlaylistModel::QovClassicPlaylistModel(QObject* parent) : QAbstractTableModel(parent) {}

int QovClassicPlaylistModel::columnOf(const QString& identifier) const {
    for (size_t c = 0; c < _columns.size(); ++c)
        if (_columns[c].identifier == identifier) return int(c);
    return -1;
}

void QovClassicPlaylistModel::setColumns(std::vector<Column> columns) {
    beginResetModel();
    _columns = std::move(columns);
    _cache.clear();
    endResetModel();
}

void QovClassicPlaylistModel::appendColumn(Column column) {
    const int at = int(_columns.size());
    beginInsertColumns({}, at, at);
    _columns.push_back(std::move(column));
    endInsertColumns();
}

void QovClassicPlaylistModel::removeColumnAt(int column) {
    if (column < 0 || size_t(column) >= _columns.size()) return;
    beginRemoveColumns({}, column, column);
    _columns.erase(_columns.begin() + column);
    endRemoveColumns();
}

void QovClassicPlaylistModel::setRows(metadb_handle_list items, size_t playlist,
                                      const service_ptr_t<titleformat_object>& groupScript) {
    beginResetModel();
    _items = std::move(items);
    _playlist = playlist;
    _rows.build(_items, groupScript, _home);
    std::vector<t_playback_queue_item> queue;
    qvn::std_api_get<playlist_manager>()->queue_get_contents(queue);
    _rows.rebuildQueue(queue, _playlist);
    _cache.clear();
    endResetModel();
}

void QovClassicPlaylistModel::rebuildQueue() {
    std::vector<t_playback_queue_item> queue;
    qvn::std_api_get<playlist_manager>()->queue_get_contents(queue);
    _rows.rebuildQueue(queue, _playlist);
}

void QovClassicPlaylistModel::refresh() {
    if (rowCount() == 0 || columnCount() == 0) return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int64_t QovClassicPlaylistModel::playingRow() const {
    size_t playlist = SIZE_MAX, item = SIZE_MAX;
    if (!qvn::std_api_get<playlist_manager>()->get_playing_item_location(playlist, item)) return -1;
    if (playlist != _playlist || playlist == SIZE_MAX) return -1;
    const size_t row = _rows.rowForItem(item);
    return row == SIZE_MAX ? -1 : int64_t(row);
}

QString QovClassicPlaylistModel::cellText(int row, int column) const {
    if (_rows.isHeaderRow(row)) return _rows.headerText(row);
    const int64_t item = _rows.itemForRow(row);
    if (item < 0 || size_t(item) >= _items.size() || column < 0 || size_t(column) >= _columns.size())
        return {};
    const Column& c = _columns[size_t(column)];
    if (c.identifier == kIndexColumn) return QString::number(item + 1);
    if (c.identifier == kPlayingColumn) {
        if (row == playingRow()) {
            return qvn::std_api_get<playback_control>()->is_paused() ? QStringLiteral("  \u275A\u275A")
                                                                     : QStringLiteral("  \u25B6");
        }
        const QString label = _rows.queueLabel(size_t(item));
        return label.isEmpty() ? QString() : QLatin1String("  [") + label + u']';
    }
    return formattedText(size_t(item), c);
}

QString QovClassicPlaylistModel::formattedText(size_t item, const Column& column) const {
    if (!column.script.is_valid()) return {};
    const QString key = QString::number(item) + u'|' + column.identifier;
    if (const QString* cached = _cache.object(key)) return *cached;
    cvk::stringLite formatted;
    _items[item]->format_title(nullptr, formatted, column.script, nullptr);
    QString text = textOf(formatted);
    if (column.identifier == kPathColumn) text = displayLocation(std::move(text), _home);
    _cache.insert(key, new QString(text));
    return text;
}

int QovClassicPlaylistModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(_rows.rowCount());
}

int QovClassicPlaylistModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(_columns.size());
}

QVariant QovClassicPlaylistModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return cellText(index.row(), index.column());
        case Qt::TextAlignmentRole: {
            const bool right = !_rows.isHeaderRow(index.row()) && size_t(index.column()) < _columns.size() &&
                               _columns[size_t(index.column())].right;
            return QVariant::fromValue(
                Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
        }
        case HeaderRowRole:
            return _rows.isHeaderRow(index.row());
        case PlayingRowRole:
            return index.row() == playingRow();
        default:
            return {};
    }
}

QVariant QovClassicPlaylistModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || size_t(section) >= _columns.size()) return {};
    if (role == Qt::DisplayRole) return _columns[size_t(section)].title;
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(
            (_columns[size_t(section)].right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    return {};
}

Qt::ItemFlags QovClassicPlaylistModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (_rows.isHeaderRow(index.row())) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}
