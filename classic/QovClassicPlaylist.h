#pragma once

// The classic-playlist element: the host's active playlist as a table with
// configurable columns, group headers, and the playing and queued tracks
// marked. Follows the host's playlist, playback and queue events and the
// Classic settings. Edits the playlist through the clipboard, drag and drop,
// its context menu and keys; sorts by a column, searches, and keeps its
// selection in step with the host's. All edits go to the host, and the table
// shows what the host's events then report. Main thread.

#include "contextmenu.h"
#include "EditResponder.h"
#include "NotificationCenter.h"
#include "QovClassicPlaylistModel.h"
#include "QovClassicTableView.h"
#include "ViewController.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QMimeData;
class QovClassicCellDelegate;

class QovClassicPlaylist : public qvn::ViewController {
    Q_OBJECT

public:
    // After a playback event the table is read once more this much later:
    // the host's playing location can settle after the event.
    static constexpr int kSecondReloadMs = 150;

    explicit QovClassicPlaylist(QObject* parent = nullptr);
    ~QovClassicPlaylist() override;

    QovClassicTableView* table() const { return _table; }
    QovClassicPlaylistModel* model() const { return _model; }

    // Columns, from and to the stored column text.
    void loadColumns();
    void saveColumns();
    // Fills the column header's menu; rebuilt each time it opens.
    void menuNeedsUpdate(QMenu* menu);
    void toggleColumn(const QString& key);
    void removeCustom(const QString& identifier);
    // Asks for a name and a pattern, then adds the column.
    void addCustom();
    void setGrouping(const QString& key);

    // Rows. A burst of host events within one turn of the main loop costs one
    // rebuild.
    void scheduleRebuild();
    void rebuild();
    void rebuildQueue();

    bool isHeaderRow(int64_t row) const;
    // -1 for a header row, a negative row or a row past the end.
    int64_t itemForRow(int64_t row) const;
    // SIZE_MAX for an item past the end.
    size_t rowForItem(size_t item) const;
    size_t insertIndexForRow(int64_t row) const;
    // -1 when the playing track is not in the shown playlist.
    int64_t playingRow() const;

    void playingChanged();
    void revealItem(size_t item);
    void queueChanged();
    void prefsChanged();
    void columnsChanged();

    // --- Editing (QovClassicPlaylistEditing.cpp) ---

    // Whether the command can be done now.
    bool canEdit(platform::EditAction action) const;
    void doCopy(bool cut);
    // After a copy here, the copied tracks; after another program copied, its
    // files. Inserted after the focused item.
    void doPaste();
    void doUndo(bool redo);
    void removeSelection();
    // Plays the clicked row, or the selected row when none was clicked (-1).
    void playClicked(int64_t clickedRow = -1);

    // The menu for a right click on `clickedRow` (selected by then): Play,
    // Remove, the queue commands and the host's commands for the selection.
    // Null without a playlist. The caller owns it.
    QMenu* contextMenu(int64_t clickedRow);
    void runContextNode(contextmenu_node* node);
    void queueAdd();
    void queueRemove();
    void queueFlush();

    // Drag source: the data of the rows (null when none is an item row), and
    // the drag record when the drag begins.
    QMimeData* dragData(const std::vector<int64_t>& rows) const;
    void dragWillBegin(const std::vector<int64_t>& rows);
    // Drop target, for a drop into the gap before `row`: what the drop would
    // do there, Qt::IgnoreAction when it is refused; then taking it.
    Qt::DropAction validateDrop(const QMimeData& data, int64_t row) const;
    bool acceptDrop(const QMimeData& data, int64_t row);

    // --- Selection, sorting and search (QovClassicPlaylistSelection.cpp) ---

    // Host → table.
    void syncSelection();
    // Table → host.
    void tableViewSelectionDidChange();
    // Sorts the playlist by the column: ascending on the first click,
    // reversing on each further click on the same column.
    void didClickTableColumn(int logicalColumn);

    void showSearch();
    void hideSearch();
    void onSearch();
    void nextMatch();
    QWidget* searchBar() const { return _searchBar; }
    QLineEdit* searchField() const { return _search; }
    QLabel* searchInfo() const { return _searchInfo; }

protected:
    void loadView() override;
    void viewDidLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ClassicPlaylistCallback;
    class ClassicPlayCallback;

    // Compiles the pattern, when there is one.
    static QovClassicPlaylistModel::Column makeColumn(const QString& identifier, const QString& title,
                                                      bool right, const QString& pattern);
    void showHeaderMenu(const QPoint& at);
    void changeColumns(const std::function<void()>& change);
    QWidget* makeSearchBar();

    size_t playlist() const { return _model->playlist(); }
    // Item indices of the selected item rows, ascending.
    std::vector<size_t> selectedItems() const;
    // Hands the files to the host; their tracks are inserted at `position`
    // once resolved. False when there is no file among the URLs.
    bool insertFiles(const QMimeData& data, size_t position) const;

    QPointer<QovClassicTableView> _table;
    std::unique_ptr<ClassicPlaylistCallback> _plcb;
    std::unique_ptr<ClassicPlayCallback> _pbcb;
    QovClassicPlaylistModel* _model;
    QovClassicCellDelegate* _delegate;
    // Owned, so that nothing of this bundle's code is left pending once the
    // element is gone.
    QTimer _rebuildTimer;
    QTimer _reloadTimer;
    bool _syncing = false;
    bool _loadingColumns = false;
    // Stored column lines this version does not show; saved back unchanged.
    QStringList _keptColumnLines;
    std::optional<QString> _sortColumn;
    bool _sortDescending = false;
    // The nodes of the open context menu belong to it.
    service_ptr_t<contextmenu_manager> _menuManager;
    QPointer<QWidget> _searchBar;
    QPointer<QLineEdit> _search;
    QPointer<QLabel> _searchInfo;
    std::vector<size_t> _matches;
    size_t _matchPos = 0;
    platform::Subscription _prefsObserver;
    platform::Subscription _queueObserver;
};
