#include "QovClassicPlaylist.h"

#include "Alert.h"
#include "ClassicColumns.h"
#include "ClassicSettings.h"
#include "ColumnSpec.h"
#include "DisplayText.h"
#include "play_callback.h"
#include "playlist_callback.h"
#include "QovClassicCellDelegate.h"
#include "QovClassicPlaylistModel.h"
#include "QovClassicTableView.h"
#include "std_api.h"
#include "titleformat.h"

#include <QActionGroup>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

// Every event that changes what the rows show asks for a rebuild; the
// selection and scroll requests act at once.
class QovClassicPlaylist::ClassicPlaylistCallback final : public playlist_callback_impl_base {
public:
    explicit ClassicPlaylistCallback(QovClassicPlaylist* owner)
        : playlist_callback_impl_base(flag_all), _owner(owner) {}

    void on_items_added(size_t, size_t, const metadb_handle_list&, const bit_array&) override { rebuild(); }
    void on_items_reordered(size_t, const size_t*, size_t) override { rebuild(); }
    void on_items_removed(size_t, const bit_array&, size_t, size_t) override { rebuild(); }
    void on_items_modified(size_t, const bit_array&) override { rebuild(); }
    void on_items_modified_fromplayback(size_t, const bit_array&,
                                        playback_control::t_display_level) override {
        rebuild();
    }
    void on_items_replaced(size_t, const bit_array&, const std::vector<t_on_items_replaced_entry>&) override {
        rebuild();
    }
    void on_playlist_activate(size_t, size_t) override { rebuild(); }
    void on_items_selection_change(size_t, const bit_array&, const bit_array&) override {
        if (_owner) _owner->syncSelection();
    }
    void on_item_ensure_visible(size_t playlist, size_t item) override {
        if (_owner && playlist == qvn::std_api_get<playlist_manager>()->get_active_playlist())
            _owner->revealItem(item);
    }

private:
    void rebuild() {
        if (_owner) _owner->scheduleRebuild();
    }

    QPointer<QovClassicPlaylist> _owner;
};

class QovClassicPlaylist::ClassicPlayCallback final : public play_callback_impl_base {
public:
    explicit ClassicPlayCallback(QovClassicPlaylist* owner)
        : play_callback_impl_base(flag_on_playback_new_track | flag_on_playback_stop |
                                  flag_on_playback_pause),
          _owner(owner) {}

    void on_playback_new_track(service_ptr_t<metadb_handle>) override { changed(); }
    void on_playback_stop(playback_control::t_stop_reason) override { changed(); }
    void on_playback_pause(bool) override { changed(); }

private:
    void changed() {
        if (_owner) _owner->playingChanged();
    }

    QPointer<QovClassicPlaylist> _owner;
};

QovClassicPlaylist::QovClassicPlaylist(QObject* parent)
    : qvn::ViewController(parent),
      _model(new QovClassicPlaylistModel(this)),
      _delegate(new QovClassicCellDelegate(this)) {
    _rebuildTimer.setSingleShot(true);
    _rebuildTimer.setInterval(0);
    connect(&_rebuildTimer, &QTimer::timeout, this, &QovClassicPlaylist::rebuild);
    _reloadTimer.setSingleShot(true);
    _reloadTimer.setInterval(kSecondReloadMs);
    connect(&_reloadTimer, &QTimer::timeout, _model, &QovClassicPlaylistModel::refresh);
}

QovClassicPlaylist::~QovClassicPlaylist() {
    _prefsObserver.reset();
    _queueObserver.reset();
    _plcb.reset();
    _pbcb.reset();
}

void QovClassicPlaylist::loadView() {
    auto* container = new QWidget;
    container->resize(600, 400);
    auto* column = new QVBoxLayout(container);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    column->addWidget(makeSearchBar());
    _table = new QovClassicTableView;
    _table->setOwner(this);
    _table->setModel(_model);
    _table->setItemDelegate(_delegate);
    _delegate->setFonts(playlistFont(false), playlistFont(true));
    _table->verticalHeader()->setDefaultSectionSize(rowHeight());
    QHeaderView* header = _table->horizontalHeader();
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, &QovClassicPlaylist::showHeaderMenu);
    connect(header, &QHeaderView::sectionClicked, this, &QovClassicPlaylist::didClickTableColumn);
    connect(_table, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { playClicked(index.row()); });
    connect(_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &QovClassicPlaylist::tableViewSelectionDidChange);
    column->addWidget(_table);
    setView(container);
}

void QovClassicPlaylist::viewDidLoad() {
    _model->setHome(QDir::homePath());
    loadColumns();
    QHeaderView* header = _table->horizontalHeader();
    connect(header, &QHeaderView::sectionMoved, this, &QovClassicPlaylist::columnsChanged);
    connect(header, &QHeaderView::sectionResized, this, &QovClassicPlaylist::columnsChanged);
    auto& center = platform::NotificationCenter::defaultCenter();
    _prefsObserver = center.subscribe(platform::kClassicUIPrefsChanged, this,
                                      [this](const platform::Notification&) { prefsChanged(); });
    _queueObserver = center.subscribe(platform::kClassicUIQueueChanged, this,
                                      [this](const platform::Notification&) { queueChanged(); });
    rebuild();
    _plcb = std::make_unique<ClassicPlaylistCallback>(this);
    _pbcb = std::make_unique<ClassicPlayCallback>(this);
}

// --- Columns ---

QovClassicPlaylistModel::Column QovClassicPlaylist::makeColumn(const QString& identifier,
                                                               const QString& title, bool right,
                                                               const QString& pattern) {
    QovClassicPlaylistModel::Column column{identifier, title, right, {}};
    if (!pattern.isEmpty())
        column.script = qvn::std_api_get<titleformat_compiler>()->compile_safe(pattern.toUtf8().constData());
    return column;
}

void QovClassicPlaylist::loadColumns() {
    if (!_table) return;
    _loadingColumns = true;
    const ColumnSpec stored = parseColumnSpec(QString::fromUtf8(cfg_columns.get().get_ptr()));
    _keptColumnLines = stored.kept;
    std::vector<QovClassicPlaylistModel::Column> columns;
    for (const SpecColumn& c : stored.columns)
        columns.push_back(makeColumn(c.identifier, c.title, c.right, c.pattern));
    changeColumns([&] {
        _model->setColumns(std::move(columns));
        // The stored order is the display order.
        QHeaderView* header = _table->horizontalHeader();
        for (int logical = 0; logical < header->count(); ++logical) {
            header->moveSection(header->visualIndex(logical), logical);
            header->resizeSection(logical, stored.columns[size_t(logical)].width);
        }
    });
    _loadingColumns = false;
    _table->layoutRows(_model->rows().headerRows(), rowHeight());
}

void QovClassicPlaylist::saveColumns() {
    if (!_table) return;
    const QHeaderView* header = _table->horizontalHeader();
    std::vector<std::pair<QString, double>> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        columns.emplace_back(_model->columns()[size_t(logical)].identifier, header->sectionSize(logical));
    }
    cfg_columns.set(writeColumnSpec(columns, _keptColumnLines).toUtf8().constData());
}

void QovClassicPlaylist::columnsChanged() {
    if (!_loadingColumns) saveColumns();
}

void QovClassicPlaylist::menuNeedsUpdate(QMenu* menu) {
    menu->clear();
    for (const ClassicColumn& c : kColumns) {
        const QString key = QString::fromLatin1(c.key);
        QAction* item = menu->addAction(QString::fromUtf8(c.title), this, [this, key] { toggleColumn(key); });
        item->setCheckable(true);
        item->setChecked(_model->columnOf(key) >= 0);
        if (key == QLatin1String("size")) menu->addSeparator();
    }

    const QHeaderView* header = _table->horizontalHeader();
    bool customs = false;
    for (int visual = 0; visual < header->count(); ++visual) {
        const QString identifier = _model->columns()[size_t(header->logicalIndex(visual))].identifier;
        if (!isCustomIdentifier(identifier)) continue;
        if (!customs) menu->addSeparator();
        customs = true;
        const QString title = customParts(identifier).first;
        menu->addAction(QStringLiteral("Remove \u201C%1\u201D").arg(menuItemText(title)), this,
                        [this, identifier] { removeCustom(identifier); });
    }

    menu->addSeparator();
    menu->addAction(QStringLiteral("More\u2026"), this, &QovClassicPlaylist::addCustom);

    menu->addSeparator();
    QMenu* groups = menu->addMenu(QStringLiteral("Group by"));
    const std::string current = cfg_groupBy.get().str();
    for (const ClassicGroup& g : kGroups) {
        const QString key = QString::fromLatin1(g.key);
        QAction* item =
            groups->addAction(QString::fromUtf8(g.title), this, [this, key] { setGrouping(key); });
        item->setCheckable(true);
        item->setChecked(current == g.key);
    }
}

void QovClassicPlaylist::showHeaderMenu(const QPoint& at) {
    QMenu menu;
    menuNeedsUpdate(&menu);
    menu.exec(_table->horizontalHeader()->mapToGlobal(at));
}

void QovClassicPlaylist::toggleColumn(const QString& key) {
    const ClassicColumn* known = findColumn(key.toStdString());
    if (!known) return;
    changeColumns([&] {
        const int existing = _model->columnOf(key);
        if (existing >= 0) {
            _model->removeColumnAt(existing);
        } else {
            _model->appendColumn(makeColumn(key, QString::fromUtf8(known->title), known->right,
                                            QString::fromUtf8(known->pattern)));
            _table->horizontalHeader()->resizeSection(_model->columnCount() - 1, known->width);
        }
    });
    saveColumns();
}

void QovClassicPlaylist::removeCustom(const QString& identifier) {
    changeColumns([&] { _model->removeColumnAt(_model->columnOf(identifier)); });
    saveColumns();
}

void QovClassicPlaylist::changeColumns(const std::function<void()>& change) {
    // Columns come and go under the selection: none of that reaches the host,
    // and then the table shows the host's selection across every column.
    _syncing = true;
    change();
    _syncing = false;
    syncSelection();
}

void QovClassicPlaylist::addCustom() {
    auto* accessory = new QWidget;
    accessory->setFixedSize(300, 52);
    auto* name = new QLineEdit(accessory);
    name->setPlaceholderText(QStringLiteral("Name"));
    name->setGeometry(0, 0, 300, 22);
    auto* pattern = new QLineEdit(accessory);
    pattern->setPlaceholderText(QStringLiteral("Pattern"));
    pattern->setGeometry(0, 30, 300, 22);

    platform::Alert alert;
    alert.setMessageText(QStringLiteral("Add column"));
    alert.setInformativeText(QStringLiteral("Name and title formatting pattern, e.g. %genre%"));
    alert.addButton(QStringLiteral("Add"));
    alert.addButton(QStringLiteral("Cancel"));
    alert.setAccessoryView(accessory);
    alert.setInitialFocus(name);
    QPointer<QovClassicPlaylist> self(this);
    QPointer<QLineEdit> nameField(name), patternField(pattern);
    alert.show(view(), [self, nameField, patternField](int answer) {
        if (!self || !nameField || !patternField || answer != platform::Alert::kFirstButton) return;
        const auto stored = withCustomColumn(QString::fromUtf8(cfg_columns.get().get_ptr()),
                                             nameField->text(), patternField->text());
        if (!stored) return;
        cfg_columns.set(stored->toUtf8().constData());
        self->loadColumns();
    });
}

void QovClassicPlaylist::setGrouping(const QString& key) {
    cfg_groupBy.set(key.toUtf8().constData());
    rebuild();
}

// --- Rows ---

void QovClassicPlaylist::scheduleRebuild() {
    // A pending rebuild absorbs further requests.
    if (!_rebuildTimer.isActive()) _rebuildTimer.start();
}

void QovClassicPlaylist::rebuild() {
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t old = _model->playlist();
    const size_t playlist = pm->get_active_playlist();
    metadb_handle_list items;
    if (playlist != SIZE_MAX) pm->playlist_get_all_items(playlist, items);

    service_ptr_t<titleformat_object> groupScript;
    const ClassicGroup* group = findGroup(cfg_groupBy.get().str());
    if (group && group->pattern)
        groupScript = qvn::std_api_get<titleformat_compiler>()->compile_safe(group->pattern);

    _model->setRows(std::move(items), playlist, groupScript);
    if (!_table) return;
    _table->layoutRows(_model->rows().headerRows(), rowHeight());
    if (playlist != old) {
        _table->scrollToTop();
        _sortColumn.reset();
        _table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    }
    syncSelection();
}

void QovClassicPlaylist::rebuildQueue() { _model->rebuildQueue(); }

bool QovClassicPlaylist::isHeaderRow(int64_t row) const { return _model->rows().isHeaderRow(row); }

int64_t QovClassicPlaylist::itemForRow(int64_t row) const { return _model->rows().itemForRow(row); }

size_t QovClassicPlaylist::rowForItem(size_t item) const { return _model->rows().rowForItem(item); }

size_t QovClassicPlaylist::insertIndexForRow(int64_t row) const {
    return _model->rows().insertIndexForRow(row);
}

int64_t QovClassicPlaylist::playingRow() const { return _model->playingRow(); }

// --- Events ---

void QovClassicPlaylist::playingChanged() {
    _model->refresh();
    _reloadTimer.start();
}

void QovClassicPlaylist::revealItem(size_t item) {
    if (!_table || item >= _model->rows().itemCount()) return;
    const int column = _table->columnAt(0);
    if (column < 0) return;
    _table->scrollTo(_model->index(int(rowForItem(item)), column));
}

void QovClassicPlaylist::queueChanged() {
    rebuildQueue();
    _model->refresh();
}

void QovClassicPlaylist::prefsChanged() {
    if (!_table) return;
    _delegate->setFonts(playlistFont(false), playlistFont(true));
    _table->layoutRows(_model->rows().headerRows(), rowHeight());
}
