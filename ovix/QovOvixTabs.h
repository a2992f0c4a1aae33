#pragma once

// Keeps an Ovix tab strip in step with the host's playlists (a poll every
// 0.3 s that touches the strip only on a change), and lets Left and Right
// Arrow cycle the active playlist from anywhere in the strip's window, unless
// a text is being edited or a modifier is held. Main thread.

#include "QovOvixTabsView.h"
#include "ViewController.h"

#include <QPointer>
#include <QTimer>

class QovOvixTabs : public qvn::ViewController {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 300;

    explicit QovOvixTabs(QObject* parent = nullptr);
    ~QovOvixTabs() override;

    void refresh();
    QovOvixTabsView* tabsView() const { return _tabs; }

protected:
    void loadView() override;
    void viewDidLoad() override;
    // The key monitor: sees every key press of the application first.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QovOvixTabsView> _tabs;
    QTimer _timer;
    bool _monitoring = false;
};
