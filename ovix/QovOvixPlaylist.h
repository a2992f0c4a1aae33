#pragma once

// The Ovix playlist element: the host's active playlist as grouped two-line
// rows. Follows the host (a rebuild per main-loop turn however many changes
// arrive, the selection both ways, the playing track highlighted and scrolled
// to), plays on double click or Return, removes on Delete, reorders by drag and
// adds dropped files. Indices taken from the rows are checked against the host
// before use: the rows may be a turn behind it. Main thread.

#include "OvixRows.h"
#include "QovOvixTableView.h"
#include "ViewController.h"

#include <QPointer>

#include <memory>

class OvixRowListModel;
class QItemSelection;
class QMimeData;

class QovOvixPlaylist : public qvn::ViewController {
    Q_OBJECT

public:
    static constexpr int kPlayingRetryMs = 150;

    explicit QovOvixPlaylist(QObject* parent = nullptr);
    ~QovOvixPlaylist() override;

    QovOvixTableView* tableView() const { return _table; }
    const OvixRows& rows() const;
    // SIZE_MAX when no playlist is active.
    size_t playlist() const { return _playlist; }

    void scheduleRebuild();
    void rebuild();
    void playingChanged();
    void syncSelection();
    void revealItem(size_t item);
    // `clickedRow` negative: the selected track.
    void playClicked(int clickedRow);
    void removeSelection();

    // Drag and drop, as the list's events (or a drag made by code) ask.
    QMimeData* dragData() const;
    Qt::DropAction validateDrop(const QMimeData* data, bool fromThisList) const;
    bool acceptDrop(const QMimeData* data, int row, bool fromThisList);
    size_t insertIndexForRow(int row) const;

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    class PlaylistCallback;
    class PlayCallback;

    void selectionDidChange();
    // Puts the list's keyboard cursor in the selection when it is outside.
    void followSelection(const QItemSelection& selection);
    int selectedRow() const;
    bool isPlaying(const OvixRow& row) const;
    bool isTrackRow(int row) const;

    QPointer<QovOvixTableView> _table;
    OvixRowListModel* _model = nullptr;
    OvixPatterns _patterns;
    std::unique_ptr<PlaylistCallback> _plcb;
    std::unique_ptr<PlayCallback> _pbcb;
    bool _syncing = false;
    bool _rebuildPending = false;
    bool _playingRetry = false;
    size_t _playlist = SIZE_MAX;
};
