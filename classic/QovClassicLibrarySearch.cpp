#include "QovClassicLibrarySearch.h"

#include "ClassicDrag.h"
#include "library_manager.h"
#include "playlist_manager.h"
#include "QovClassicLibraryModel.h"
#include "StartDrag.h"
#include "std_api.h"
#include "SystemLabel.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>

namespace {

std::unique_ptr<QovClassicLibrarySearch> g_librarySearch;

// The results drag out as their tracks, for the Classic views, and as files
// for other programs.
class ResultsTable : public QTableView {
protected:
    void startDrag(Qt::DropActions) override {
        const auto* results = static_cast<const QovClassicLibraryModel*>(model());
        const QModelIndexList rows = selectionModel()->selectedRows();
        metadb_handle_list tracks = results->tracks(rows);
        if (tracks.empty()) return;
        QMimeData* data = results->mimeData(rows);
        g_drag.begin(SIZE_MAX, {}, std::move(tracks));
        // Copy only: a file manager must never move the library's files.
        platform::startDrag(this, data, Qt::CopyAction);
        g_drag.reset();
    }
};

}  // namespace

QovClassicLibrarySearch* QovClassicLibrarySearch::instance() { return g_librarySearch.get(); }

void QovClassicLibrarySearch::show() {
    if (!g_librarySearch) g_librarySearch.reset(new QovClassicLibrarySearch);
    QovClassicLibrarySearch& search = *g_librarySearch;
    search.reload();
    search._window->show();
    search._window->raise();
    search._window->activateWindow();
    search._search->setFocus(Qt::OtherFocusReason);
}

void QovClassicLibrarySearch::shutdown() {
    if (g_librarySearch) g_librarySearch->saveFrame();
    g_librarySearch.reset();
}

QovClassicLibrarySearch::QovClassicLibrarySearch() : _model(new QovClassicLibraryModel(this)) {
    _window = new QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                       Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    _window->setWindowTitle(QStringLiteral("Search Library"));
    _window->setSizeGripEnabled(true);

    _search = new QLineEdit;
    _search->setPlaceholderText(QStringLiteral("Artist, title, album, genre, year\u2026"));
    _search->setClearButtonEnabled(true);
    _search->setAccessibleName(QStringLiteral("Search"));
    connect(_search, &QLineEdit::textChanged, this, &QovClassicLibrarySearch::filter);

    _table = new ResultsTable;
    _table->setModel(_model);
    _table->setAccessibleName(QStringLiteral("Results"));
    _table->setAlternatingRowColors(true);
    _table->setShowGrid(false);
    _table->setSelectionBehavior(QAbstractItemView::SelectRows);
    _table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    _table->setTabKeyNavigation(false);
    _table->setWordWrap(false);
    _table->setDragEnabled(true);
    _table->setDragDropMode(QAbstractItemView::DragOnly);
    _table->setDefaultDropAction(Qt::CopyAction);
    _table->verticalHeader()->hide();
    _table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    _table->verticalHeader()->setDefaultSectionSize(_table->fontMetrics().height() + 4);
    _table->horizontalHeader()->setHighlightSections(false);
    _table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (size_t c = 0; c < QovClassicLibraryModel::kColumns.size(); ++c)
        _table->setColumnWidth(int(c), QovClassicLibraryModel::kColumns[c].width);
    _table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(_table, &QTableView::doubleClicked, this, &QovClassicLibrarySearch::addToCurrent);

    _count = new SystemLabel(platform::SystemColor::SecondaryLabel);
    auto* toNew = new QPushButton(QStringLiteral("Send to New Playlist"));
    connect(toNew, &QPushButton::clicked, this, &QovClassicLibrarySearch::sendToNew);
    auto* toCurrent = new QPushButton(QStringLiteral("Add to Current Playlist"));
    toCurrent->setDefault(true);
    connect(toCurrent, &QPushButton::clicked, this, &QovClassicLibrarySearch::addToCurrent);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(_count, 1);
    bottom->addWidget(toNew);
    bottom->addWidget(toCurrent);

    auto* content = new QVBoxLayout(_window);
    content->setContentsMargins(12, 12, 12, 12);
    content->setSpacing(8);
    content->addWidget(_search);
    content->addWidget(_table, 1);
    content->addLayout(bottom);

    _window->resize(820, 520);
    if (!_window->restoreGeometry(QSettings().value(QLatin1String(kFrameKey)).toByteArray())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            _window->move(screen->availableGeometry().center() - _window->rect().center());
    }
    connect(_window, &QDialog::finished, this, &QovClassicLibrarySearch::saveFrame);
}

QovClassicLibrarySearch::~QovClassicLibrarySearch() { delete _window.data(); }

void QovClassicLibrarySearch::saveFrame() {
    if (_window) QSettings().setValue(QLatin1String(kFrameKey), _window->saveGeometry());
}

void QovClassicLibrarySearch::reload() {
    auto library = qvn::std_api_get<library_manager>();
    metadb_handle_list tracks;
    const bool enabled = library->is_library_enabled();
    if (enabled) library->get_all_items(tracks);
    _model->reload(enabled, std::move(tracks));
    filter();
}

void QovClassicLibrarySearch::filter() {
    const QString query = _search->text();
    _model->filter(query);
    QString status;
    if (!_model->libraryEnabled())
        status = QStringLiteral("Media Library is not configured (Preferences > Media Library).");
    else if (!LibraryMatcher::terms(query).isEmpty())
        status = QString::asprintf("%zu of %zu tracks", _model->results().size(), _model->librarySize());
    else
        status = QString::asprintf("%zu tracks in library", _model->librarySize());
    _count->setText(status);
}

metadb_handle_list QovClassicLibrarySearch::chosen() const {
    QModelIndexList rows = _table->selectionModel()->selectedRows();
    if (rows.isEmpty())
        for (int r = 0; r < _model->rowCount(); ++r) rows.append(_model->index(r, 0));
    return _model->tracks(rows);
}

void QovClassicLibrarySearch::addToCurrent() {
    const metadb_handle_list tracks = chosen();
    if (tracks.empty()) return;
    auto pm = qvn::std_api_get<playlist_manager>();
    size_t playlist = pm->get_active_playlist();
    if (playlist == SIZE_MAX) {
        playlist = pm->create_playlist("New Playlist", SIZE_MAX, SIZE_MAX);
        if (playlist == SIZE_MAX) return;
        pm->set_active_playlist(playlist);
    }
    pm->playlist_undo_backup(playlist);
    pm->playlist_add_items(playlist, tracks, bit_array_false());
}

void QovClassicLibrarySearch::sendToNew() {
    const metadb_handle_list tracks = chosen();
    if (tracks.empty()) return;
    const QByteArray typed = _search->text().toUtf8();
    const char* name = typed.isEmpty() ? "Search results" : typed.constData();
    auto pm = qvn::std_api_get<playlist_manager>();
    const size_t playlist =
        pm->create_playlist(name, typed.isEmpty() ? SIZE_MAX : size_t(typed.size()), SIZE_MAX);
    if (playlist == SIZE_MAX) return;
    pm->playlist_add_items(playlist, tracks, bit_array_false());
    pm->set_active_playlist(playlist);
}
