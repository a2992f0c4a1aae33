#pragma once

// The library search's table: every library track as of the last reload, the
// ones matching the query in library order, and their column texts, each
// formatted when first shown and then kept. Its rows drag out as the tracks:
// a "library" row entry each, and the file for local tracks. Main thread.

#include "LibraryMatcher.h"
#include "metadb_handle.h"
#include "titleformat.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QString>

#include <array>
#include <vector>

class QovClassicLibraryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Column {
        const char* identifier;
        const char* title;
        int width;
        const char* pattern;
    };
    static const std::array<Column, 4> kColumns;
    static constexpr const char* kHaystackPattern =
        "%artist% %album artist% %title% %album% %genre% %date% %filename%";
    static constexpr int kCachedTexts = 20000;

    explicit QovClassicLibraryModel(QObject* parent = nullptr);

    // Reads the whole library again (empty when it is not enabled) and
    // formats each track's search text; the results are empty until filter.
    void reload(bool enabled, metadb_handle_list tracks);
    void filter(const QString& query);

    bool libraryEnabled() const { return _enabled; }
    size_t librarySize() const { return _all.size(); }
    const std::vector<size_t>& results() const { return _results; }
    // The track of a result row; null outside the results.
    service_ptr_t<metadb_handle> track(int row) const;
    // The tracks of the result rows among `indexes`, in row order, each once.
    metadb_handle_list tracks(const QModelIndexList& indexes) const;
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    bool _enabled = false;
    metadb_handle_list _all;
    LibraryMatcher _haystack;
    std::vector<size_t> _results;
    std::array<service_ptr_t<titleformat_object>, 4> _scripts;
    mutable QCache<QString, QString> _cache;
};
