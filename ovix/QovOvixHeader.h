#pragma once

// The now-playing panel: cover, four lines about the playing track, transport,
// volume, the shuffle and repeat toggles and the time. Polls the host four
// times a second and shows what changed; fetches each new track's cover off
// the main thread. Main thread.

#include <QSlider>
#include "abort_callback.h"
#include "metadb_handle.h"
#include "OvixCoverView.h"
#include "OvixLabel.h"
#include "QovOvixSymbolButton.h"
#include "titleformat.h"
#include "ViewController.h"

#include <QImage>
#include <QPointer>
#include <QTimer>

#include <memory>

class QovOvixHeader : public qvn::ViewController {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 250;

    explicit QovOvixHeader(QObject* parent = nullptr);
    ~QovOvixHeader() override;

    void refresh();
    // Asks the host to play the order by that name, or the first order when it
    // plays already; refreshes at once.
    void toggleOrder(const char* name);

    void onPrev();
    void onNext();
    void onStop();
    void onPause();
    void onPlay();
    void onVolume();
    void onMute();
    void onShuffle();
    void onRepeat();

    // For tests: the widgets as the user sees them.
    OvixCoverView* cover() const { return _cover; }
    OvixLabel* titleLabel() const { return _title; }
    OvixLabel* artistLabel() const { return _artist; }
    OvixLabel* albumLabel() const { return _album; }
    OvixLabel* techLabel() const { return _tech; }
    OvixLabel* timeLabel() const { return _time; }
    QovOvixSymbolButton* playButton() const { return _play; }
    QovOvixSymbolButton* pauseButton() const { return _pause; }
    QovOvixSymbolButton* shuffleButton() const { return _shuffle; }
    QovOvixSymbolButton* repeatButton() const { return _repeat; }
    QovOvixSymbolButton* volumeButton() const { return _volIcon; }
    QSlider* volumeSlider() const { return _volume; }

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    void loadCover(const service_ptr_t<metadb_handle>& track);
    QString playbackText(const service_ptr_t<titleformat_object>& pattern) const;

    QPointer<OvixCoverView> _cover;
    QPointer<OvixLabel> _title, _artist, _album, _tech, _time;
    QPointer<QovOvixSymbolButton> _prev, _stop, _play, _pause, _next;
    QPointer<QovOvixSymbolButton> _shuffle, _repeat, _volIcon;
    QPointer<QSlider> _volume;
    QTimer _timer;
    service_ptr_t<titleformat_object> _tfTitle, _tfArtist, _tfAlbum, _tfTech;
    service_ptr_t<metadb_handle> _shownTrack;
    std::shared_ptr<abort_callback_impl> _artAbort;
};

// The host's playback order called `name` (ASCII case ignored), SIZE_MAX when
// it has none.
size_t orderIndex(const char* name);
