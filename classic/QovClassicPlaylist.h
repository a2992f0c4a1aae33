#pragma once

// The classic-playlist element: the host's active playlist as a table with
// configurable columns, group headers, and the playing and queued tracks
// marked. Follows the host's playlist, playback and queue events and the
// Classic settings; all edits go to the host, and the table shows what the
// host's events then report. Main thread.

#include "NotificationCenter.h"
#include "QovClassicPlaylistModel.h"
#include "QovClassicTableView.h"
#include "ViewController.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <memory>

class QMenu;
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

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    class ClassicPlaylistCallback;
    class ClassicPlayCallback;

    // Compiles the pattern, when there is one.
    static QovClassicPlaylistModel::Column makeColumn(const QString& identifier, const QString& title,
                                                      bool right, const QString& pattern);
    void showHeaderMenu(const QPoint& at);

    QPointer<QovClassicTableView> _table;
    std::unique_ptr<ClassicPlaylistCallback> _plcb;
    std::unique_ptr<ClassicPlayCallback> _pbcb;
    QovClassicPlaylistModel* _model;
    QovClassicCellDelegate* _delegate;
    // Owned, so that nothing of this bundle's code is left pending once the
    // element is gone.
    QTimer _rebuildTimer;
    QTimer _reloadTimer;
    bool _loadingColumns = false;
    // Stored column lines this version does not show; saved back unchanged.
    QStringList _keptColumnLines;
    platform::Subscription _prefsObserver;
    platform::Subscription _queueObserver;
};
