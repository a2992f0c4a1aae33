#pragma once

// The classic-tabs element: keeps its tab strip in step with the player's
// playlists by reading them three times a second and pushing only what
// changed, and takes the playlist keys of its window (Command and a digit,
// Command-T, Command-Shift-T, Command-J, Command-Option-W, the left and right
// arrows) unless a text field is being typed in. Main thread.

#include "NotificationCenter.h"
#include "QovClassicTabsView.h"
#include "ViewController.h"

#include <QPointer>
#include <QTimer>

#include <memory>

class QovClassicTabs : public qvn::ViewController {
    Q_OBJECT

public:
    static constexpr int kPollMs = 300;

    explicit QovClassicTabs(QObject* parent = nullptr);
    ~QovClassicTabs() override;

    void refresh();
    // True when the key was a shortcut (and so taken); `modifiers` in the
    // Mac's bits.
    bool handleShortcut(int keyPosition, unsigned modifiers);

    QovClassicTabsView* tabs() const { return _tabs; }

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    class KeyMonitor;

    QPointer<QovClassicTabsView> _tabs;
    QTimer _timer;
    platform::Subscription _prefsObserver;
    std::unique_ptr<KeyMonitor> _keyMonitor;
};
