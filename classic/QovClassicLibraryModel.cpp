#include "QovClassicLibraryModel.h"

#include "ClassicDrag.h"
#include "DisplayText.h"
#include "std_api.h"

#include <QMimeData>
#include <QUrl>

#include <set>

const std::array<QovClassicLibraryModel::Column, 4> QovClassicLibraryModel::kColumns{{
    {"artist", "Artist", 200, "[%artist%]"},
    {"title", "Title", 260, "%title%"},
    {"album", "Album", 220, "[%album%]"},
    {"length", "Duration", 70, "[%length%]"},
}};

QovClassicLibraryModel::QovClassicLibraryModel(QObject* parent) : QAbstractTableModel(parent) {
    _cache.setMaxCost(kCachedTexts);
    auto compiler = qvn::std_api_get<titleformat_compiler>();
    for (size_t c = 0; c < kColumns.size(); ++c) _scripts[c] = compiler->compile_safe(kColumns[c].pattern);
}

void QovClassicLibraryModel::reload(bool enabled, metadb_handle_list tracks) {
    beginResetModel();
    _enabled = enabled;
    _all = enabled ? std::move(tracks) : metadb_handle_list();
    _results.clear();
    _cache.clear();
    _haystack.clear();
    _haystack.reserve(_all.size(), _all.size() * 96);
    const auto script = qvn::std_api_get<titleformat_compiler>()->compile_safe(kHaystackPattern);
    cvk::stringLite text;
    for (const auto& track : _all) {
        track->format_title(nullptr, text, script, nullptr);
        _haystack.add(text.str());
    }
    endResetModel();
}

void QovClassicLibraryModel::filter(const QString& query) {
    beginResetModel();
    _results = _haystack.match(query);
    endResetModel();
}

service_ptr_t<metadb_handle> QovClassicLibraryModel::track(int row) const {
    if (row < 0 || size_t(row) >= _results.size()) return {};
    return _all[_results[size_t(row)]];
}

metadb_handle_list QovClassicLibraryModel::tracks(const QModelIndexList& indexes) const {
    std::set<int> rows;
    for (const QModelIndex& i : indexes) rows.insert(i.row());
    metadb_handle_list out;
    for (int row : rows)
        if (auto t = track(row); t.is_valid()) out.push_back(t);
    return out;
}

QString QovClassicLibraryModel::text(int row, int column) const {
    if (row < 0 || size_t(row) >= _results.size() || column < 0 || size_t(column) >= kColumns.size())
        return {};
    const size_t index = _results[size_t(row)];
    const QString key =
        QStringLiteral("%1|%2").arg(index).arg(QLatin1String(kColumns[size_t(column)].identifier));
    if (const QString* cached = _cache.object(key)) return *cached;
    cvk::stringLite formatted;
    _all[index]->format_title(nullptr, formatted, _scripts[size_t(column)], nullptr);
    const QString shown = textOf(formatted);
    _cache.insert(key, new QString(shown));
    return shown;
}

int QovClassicLibraryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(_results.size());
}

int QovClassicLibraryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(kColumns.size());
}

QVariant QovClassicLibraryModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole) return {};
    return text(index.row(), index.column());
}

QVariant QovClassicLibraryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= int(kColumns.size()))
        return {};
    return QString::fromLatin1(kColumns[size_t(section)].title);
}

Qt::ItemFlags QovClassicLibraryModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList QovClassicLibraryModel::mimeTypes() const {
    return {QString::fromLatin1(kRowsType), QStringLiteral("text/uri-list")};
}

QMimeData* QovClassicLibraryModel::mimeData(const QModelIndexList& indexes) const {
    auto* data = new QMimeData;
    QStringList entries;
    QList<QUrl> files;
    for (const auto& t : tracks(indexes)) {
        entries.append(QString::fromLatin1(kLibraryRows));
        const std::string_view location = t->get_path();
        if (location.starts_with("file://"))
            files.append(QUrl::fromLocalFile(
                QString::fromUtf8(location.substr(7).data(), qsizetype(location.size() - 7))));
    }
    setDraggedRows(*data, entries);
    if (!files.isEmpty()) data->setUrls(files);
    return data;
}
